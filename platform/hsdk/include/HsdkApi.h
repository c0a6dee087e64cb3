#pragma once

// Classes and functions of HSDK.dll. Callers bind the DLL lazily (delay-load), which covers
// functions only: nothing here may export data, and every special member is defined out of line.
#ifdef HSDK_BUILD
#define HSDK_API __declspec(dllexport)
#else
#define HSDK_API __declspec(dllimport)
#endif

// The connection every SDK object of one CaHarvest works through; private to HSDK.dll.
class HsdkSession;
// Builds SDK records from server replies; private to HSDK.dll.
class HsdkRecords;
// A test's script for some calls, which builds records too; private to HSDK.dll.
class HsdkScript;
