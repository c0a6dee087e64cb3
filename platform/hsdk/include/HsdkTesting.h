#pragma once

#include <string>
#include <vector>

#include "HsdkApi.h"

// Seams for tests of the library that uses the SDK. The record holds every call on CaHarvest,
// CaContext, the choosers, CaSQL, the processes and CaItem::GetItemPathList, one line per call
// such as "CaVersionChooser::SetParentPath(\QXRepo\Screens)" (arguments joined by ", ").
namespace hsdk_testing
{
HSDK_API void StartRecording();
HSDK_API void StopRecording();
HSDK_API std::vector<std::string> GetRecordedCalls();
HSDK_API void ClearRecordedCalls();

// A failed call: an int result gives the number, a bool result false, a list an empty one.
HSDK_API void FailCall(const char* call, int result);
// The call throws CaException(false, text) instead.
HSDK_API void ThrowOnCall(const char* call, const char* text);
HSDK_API void ClearFailures();

// Sends one admin request (JSON) to the broker at 127.0.0.1:HARBROKER_PORT as the sample's
// administrator and returns the reply (JSON), or {"ok":false,"error":...} when unreachable.
HSDK_API std::string Admin(const char* requestJson);
// The same with a payload, the file bytes some admin requests carry.
HSDK_API std::string Admin(const char* requestJson, const std::string& payload);
} // namespace hsdk_testing
