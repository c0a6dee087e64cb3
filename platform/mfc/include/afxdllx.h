#pragma once
// For an extension library's DllMain: register its resources and classes with the framework
// while it is loaded.
//     static AFX_EXTENSION_MODULE extensionDLL = {};
//     extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
//     {
//         if (dwReason == DLL_PROCESS_ATTACH) {
//             if (!AfxInitExtensionModule(extensionDLL, hInstance))
//                 return FALSE;
//             new CDynLinkLibrary(extensionDLL);
//         } else if (dwReason == DLL_PROCESS_DETACH)
//             AfxTermExtensionModule(extensionDLL);
//         return TRUE;
//     }
#include "afxwin.h"
