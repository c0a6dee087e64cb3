#include <windows.h>
#include <commctrl.h>

HINSTANCE afxModuleInstance = NULL;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        afxModuleInstance = hInstance;
        // Every control the wrappers stand for must exist before a dialog template names it.
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    return TRUE;
}
