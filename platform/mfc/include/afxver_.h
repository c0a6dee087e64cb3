#pragma once
// Export macros, as the framework's own: classes of vormfc.dll are AFX_CLASS_EXPORT while it is
// built and imported by everyone else; extension libraries (built with _AFXEXT) export theirs
// through AFX_EXT_CLASS.

#define AFX_CLASS_EXPORT __declspec(dllexport)
#define AFX_CLASS_IMPORT __declspec(dllimport)
#define AFX_API_EXPORT __declspec(dllexport)
#define AFX_API_IMPORT __declspec(dllimport)

#ifdef _VORMFC_BUILD
#define AFX_CORE_API AFX_CLASS_EXPORT
#define AFX_CORE_DATA AFX_API_EXPORT
#else
#define AFX_CORE_API AFX_CLASS_IMPORT
#define AFX_CORE_DATA AFX_API_IMPORT
#endif

#ifdef _AFXEXT
#define AFX_EXT_CLASS AFX_CLASS_EXPORT
#define AFX_EXT_API AFX_API_EXPORT
#define AFX_EXT_DATA AFX_API_EXPORT
#else
#define AFX_EXT_CLASS AFX_CLASS_IMPORT
#define AFX_EXT_API AFX_API_IMPORT
#define AFX_EXT_DATA AFX_API_IMPORT
#endif
