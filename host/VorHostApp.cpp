#include <windows.h>

#include "VorHostApp.h"

#include "HostMainWnd.h"

CVorHostApp theApp;

CVorHostApp::CVorHostApp() : CWinApp("VOR 호스트"), m_pHostWnd(NULL) {}

CVorHostApp::~CVorHostApp() {}

BOOL CVorHostApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_pHostWnd = new CHostMainWnd;
    if (!m_pHostWnd->Create())
        return FALSE;
    m_pMainWnd = m_pHostWnd;
    m_pHostWnd->ShowWindow(m_nCmdShow);
    m_pHostWnd->UpdateWindow();
    if (m_lpCmdLine[0] != '\0')
        m_pHostWnd->GetWorkingFolder().SetPath(m_lpCmdLine);
    m_pHostWnd->StartUp();
    return TRUE;
}

int CVorHostApp::ExitInstance()
{
    delete m_pHostWnd;
    m_pHostWnd = NULL;
    m_pMainWnd = NULL;
    return CWinApp::ExitInstance();
}
