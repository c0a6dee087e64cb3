#include <windows.h>

#include <afxdllx.h>

static AFX_EXTENSION_MODULE extensionModule = {};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        if (!AfxInitExtensionModule(extensionModule, hInstance))
            return FALSE;
        new CDynLinkLibrary(extensionModule);
    }
    else if (dwReason == DLL_PROCESS_DETACH)
        AfxTermExtensionModule(extensionModule);
    return TRUE;
}
