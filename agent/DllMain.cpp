#include <windows.h>
#include <afxdllx.h>

// Registered with the host's framework while loaded, so that the dialogs find their templates
// and bitmaps in this library. Nothing else runs at load time: the SDK is bound on first use.
static AFX_EXTENSION_MODULE vorModule = {};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        if (!AfxInitExtensionModule(vorModule, hInstance))
            return FALSE;
        new CDynLinkLibrary(vorModule);
    }
    else if (dwReason == DLL_PROCESS_DETACH)
    {
        AfxTermExtensionModule(vorModule);
    }
    return TRUE;
}
