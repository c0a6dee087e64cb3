#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

#include <utility>

namespace
{

AFX_MESSAGEBOX_HANDLER& MessageBoxHandler()
{
    static AFX_MESSAGEBOX_HANDLER handler;
    return handler;
}

AFX_MODAL_HOOK& ModalHook()
{
    static AFX_MODAL_HOOK hook;
    return hook;
}

// The answer that commits to nothing.
int SafeAnswer(UINT nType)
{
    switch (nType & MB_TYPEMASK)
    {
    case MB_OK:
        return IDOK;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace

void AFXAPI AfxSetMessageBoxHandler(AFX_MESSAGEBOX_HANDLER handler)
{
    MessageBoxHandler() = std::move(handler);
}

int AFXAPI AfxShowMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (MessageBoxHandler())
        return MessageBoxHandler()(hOwner, lpszText, lpszCaption, nType);
    if (AfxIsNonInteractive())
    {
        AfxTrace("message box not shown (non-interactive): %s\n", lpszText);
        return SafeAnswer(nType);
    }
    return ::MessageBoxA(hOwner, lpszText, lpszCaption, nType);
}

int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    return AfxGetApp()->DoMessageBox(lpszText, nType, nIDHelp);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxGetApp()->DoMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

void AFXAPI AfxSetModalHook(AFX_MODAL_HOOK hook)
{
    ModalHook() = std::move(hook);
}

bool AfxCallModalHook(CDialog* pDialog)
{
    if (!ModalHook())
        return false;
    AFX_MODAL_HOOK hook = ModalHook();
    hook(pDialog);
    return true;
}

BOOL AFXAPI AfxIsNonInteractive()
{
    char value[8] = {};
    return ::GetEnvironmentVariableA("VOR_NONINTERACTIVE", value, sizeof value) > 0;
}

void AFXAPI AfxPumpMessages(DWORD dwMilliseconds)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!AfxPreTranslateMessage(&msg))
            {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= dwMilliseconds)
            return;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, dwMilliseconds - elapsed, QS_ALLINPUT);
    }
}

BOOL AFXAPI AfxClickDlgButton(CWnd* pDialog, int nIDButton)
{
    // Nobody can click a button that is disabled or hidden.
    HWND button = ::GetDlgItem(pDialog->GetSafeHwnd(), nIDButton);
    if (button == NULL || !::IsWindowEnabled(button) || !::IsWindowVisible(button))
        return FALSE;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    return TRUE;
}
