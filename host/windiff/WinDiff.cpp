#include <windows.h>

#include "DiffWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

// WinDiff "first file" "second file": shows the two files side by side.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3)
    {
        MessageBoxA(nullptr, "사용법: WinDiff.Exe \"첫째 파일\" \"둘째 파일\"", "WinDiff", MB_OK);
        return 2;
    }
    auto narrow = [](LPCWSTR wide)
    {
        char path[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
        return std::string(path);
    };
    const std::string left = narrow(argv[1]);
    const std::string right = narrow(argv[2]);
    LocalFree(argv);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    DiffWindow window(left, right);
    if (!window.Create(instance, show))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
