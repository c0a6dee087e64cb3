#include <windows.h>

#include <afxwin.h>

#include <cstring>

#include "ConsoleSession.h"

// One executable, two faces: the host window by default, a scripted console with --console.
int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--console") == 0)
        return CConsoleSession().Run(argc - 2, argv + 2);
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
    {
        CConsoleSession::PrintUsage(stdout);
        return 0;
    }
    // The window takes one argument at most, the working folder.
    if (argc > 2 || (argc == 2 && argv[1][0] == '-'))
    {
        CConsoleSession::PrintUsage(stderr);
        return CConsoleSession::exitUsage;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    int nCmdShow = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    return AfxWinMain(::GetModuleHandleA(NULL), NULL, argc == 2 ? argv[1] : const_cast<LPSTR>(""),
                      nCmdShow);
}
