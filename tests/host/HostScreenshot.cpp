#include <windows.h>

#include <afxwin.h>
#include <commctrl.h>

#include <DirMng.h>
#include <VORAgent.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CaptureWindow.h"
#include "HostMainWnd.h"
#include "HostResource.h"
#include "TestFiles.h"

// Renders the host window as a user sees it after getting \QXRepo\Proj1 from the sample
// repository and checking its free files out, into <folder>\vorhost.bmp (scripts/screenshots
// turns it into docs/screenshots/vorhost.png).
// Usage: host_screenshot <folder>
int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: host_screenshot <folder>\n");
        return 2;
    }
    _putenv("VOR_NONINTERACTIVE=1");
    SetClientInstalled(true);
    const std::string root = "C:\\QXWork";
    const std::string work = root + "\\QXRepo\\Proj1";
    const std::string ini = ProgramFolder() + "\\sys\\qxp_vor.ini";
    RemoveTree(root);
    ::CreateDirectoryA((ProgramFolder() + "\\sys").c_str(), NULL);
    WriteFile(ini,
              "[Connection]\r\nUser=dev1\r\nPassword=dev1pw\r\nBroker=127.0.0.1\r\nSavePW=1\r\n"
              "ClientDir=" +
                  root +
                  "\r\n[Default Context]\r\nProject=QXP\r\n"
                  "State=Development\r\nPackage=QXP-001\r\n");
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The check-out dialog offers the folder's free files, all chosen: the user confirms.
    AfxSetModalHook([](CDialog* dialog) { AfxClickDlgButton(dialog, IDOK); });

    CHostMainWnd wnd;
    if (!wnd.Create())
        return 1;
    wnd.GetWorkingFolder().SetPath(work.c_str());
    wnd.ShowWindow(SW_SHOW);
    wnd.StartUp();
    // What the repository dialog does with the root and \QXRepo\Proj1.
    DirMng::CreateDir(work);
    VORAgent::SetOutputMsg("Get Latest Version", 1);
    VORAgent::GetLatestVersion("*", work.c_str(), "\\QXRepo\\Proj1");
    VORAgent::SetOutputMsg("Get Latest Version", 0);
    wnd.SendMessage(WM_COMMAND, ID_VOR_CHECK_OUT);

    ::SetForegroundWindow(wnd.GetSafeHwnd());
    ::RedrawWindow(wnd.GetSafeHwnd(), NULL, NULL,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    AfxPumpMessages(500);
    const std::string path = std::string(argv[1]) + "\\vorhost.bmp";
    const bool written = CaptureWindow(wnd.GetSafeHwnd(), path);
    if (!written)
        std::fprintf(stderr, "could not write %s\n", path.c_str());

    wnd.SendMessage(WM_CLOSE);
    AfxSetModalHook(nullptr);
    ::DeleteFileA(ini.c_str());
    RemoveTree(root);
    return written ? 0 : 1;
}
