#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace
{
CWinApp* currentApp = NULL;

// The executable's name without folder and extension.
CString ModuleTitle()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    CString title(path);
    title = title.Mid(title.ReverseFind('\\') + 1);
    int dot = title.ReverseFind('.');
    return dot > 0 ? title.Left(dot) : title;
}
} // namespace

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_pszAppName(NULL), m_hInstance(::GetModuleHandleA(NULL)), m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWNORMAL), m_pMainWnd(NULL),
      m_strAppName(lpszAppName != NULL ? CString(lpszAppName) : ModuleTitle())
{
    m_pszAppName = m_strAppName;
    currentApp = this;
}

CWinApp::~CWinApp()
{
    if (currentApp == this)
        currentApp = NULL;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return AfxPreTranslateMessage(pMsg);
}

BOOL CWinApp::OnIdle(LONG)
{
    return FALSE;
}

int CWinApp::Run()
{
    MSG msg;
    for (;;)
    {
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            OnIdle(0);
            AfxDeleteTempObjects();
            ::WaitMessage();
            continue;
        }
        if (!::GetMessageA(&msg, NULL, 0, 0))
            break;
        if (!PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    int exitCode = ExitInstance();
    return exitCode != 0 ? exitCode : static_cast<int>(msg.wParam);
}

void CWinApp::DoWaitCursor(int nCode)
{
    AfxDoWaitCursor(nCode);
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    // As the framework does: a box without an icon gets the one its buttons suggest.
    if ((nType & MB_ICONMASK) == 0)
    {
        switch (nType & MB_TYPEMASK)
        {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        }
    }
    HWND owner = ::GetActiveWindow();
    if (owner == NULL)
        owner = m_pMainWnd->GetSafeHwnd();
    return AfxShowMessageBox(owner, lpszPrompt, m_pszAppName, nType);
}

CWinApp* AFXAPI AfxGetApp()
{
    if (currentApp == NULL)
    {
        // Programs without an application object (tests) still get the wait cursor and
        // message boxes through this one.
        static CWinApp* fallback = new CWinApp;
        currentApp = fallback;
    }
    return currentApp;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    return AfxGetApp()->m_pMainWnd;
}

LPCSTR AFXAPI AfxGetAppName()
{
    return AfxGetApp()->m_pszAppName;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return AfxGetApp()->m_hInstance;
}

void AFXAPI AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    if (!app->InitInstance())
    {
        if (app->m_pMainWnd != NULL)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
