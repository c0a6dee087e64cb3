#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace
{

// Resource type of a template's initialisation data.
LPCSTR const RT_DLGINIT_TYPE = MAKEINTRESOURCEA(240);

// Message numbers of the initialisation data, as the resource compiler of the framework's
// origin wrote them.
const WORD DLGINIT_LB_ADDSTRING = 0x0401;
const WORD DLGINIT_CB_ADDSTRING = 0x0403;

LPCDLGTEMPLATE FindTemplate(LPCSTR lpszTemplateName, HINSTANCE* phInst)
{
    *phInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC resource = ::FindResourceA(*phInst, lpszTemplateName, RT_DIALOG);
    if (resource == NULL)
        return NULL;
    return static_cast<LPCDLGTEMPLATE>(::LockResource(::LoadResource(*phInst, resource)));
}

} // namespace

// Dialogs of the framework are subclassed on their first message, so that AfxWndProc sees
// everything afterwards; the dialog manager calls back here for WM_INITDIALOG.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    CWnd* pWnd = AfxLookupPermanent(hWnd);
    if (pWnd == NULL)
    {
        pWnd = AfxTakeWindowCreate();
        if (pWnd == NULL || !pWnd->SubclassWindow(hWnd))
            return FALSE;
    }
    if (message == WM_INITDIALOG && pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        return static_cast<CDialog*>(pWnd)->OnInitDialog();
    return FALSE;
}

CDialog::CDialog() : m_lpszTemplateName(NULL), m_nIDHelp(0), m_pParentWnd(NULL) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(0), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() {}

HWND CDialog::PreModal()
{
    HWND owner = m_pParentWnd != NULL ? m_pParentWnd->m_hWnd : AfxGetMainWnd()->GetSafeHwnd();
    while (owner != NULL && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    return owner;
}

void CDialog::PostModal()
{
    AfxDeleteTempObjects();
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndOwner, HINSTANCE hInst)
{
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, hWndOwner, AfxDlgProc, 0);
    AfxTakeWindowCreate();
    if (hWnd == NULL)
        return FALSE;
    if (m_hWnd != hWnd)
    {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE dialogTemplate = FindTemplate(m_lpszTemplateName, &hInst);
    if (dialogTemplate == NULL)
        return -1;

    HWND owner = PreModal();
    bool enableOwner = false;
    if (owner != NULL && ::IsWindowEnabled(owner))
    {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateIndirect(dialogTemplate, owner, hInst))
    {
        if (m_nFlags & WF_CONTINUEMODAL)
            RunModalLoop();
        if (m_hWnd != NULL)
            ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE |
                               SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;

    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_pParentWnd = pParentWnd;
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE dialogTemplate = FindTemplate(m_lpszTemplateName, &hInst);
    return dialogTemplate != NULL &&
           CreateIndirect(dialogTemplate, pParentWnd->GetSafeHwnd(), hInst);
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit(m_lpszTemplateName);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

BOOL CDialog::ExecuteDlgInit(LPCSTR lpszResourceName)
{
    if (lpszResourceName == NULL)
        return TRUE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_DLGINIT_TYPE);
    HRSRC resource = ::FindResourceA(hInst, lpszResourceName, RT_DLGINIT_TYPE);
    if (resource == NULL)
        return TRUE;
    return ExecuteDlgInit(::LockResource(::LoadResource(hInst, resource)));
}

// Records: WORD control id, WORD message, DWORD length, then that many bytes (a
// NUL-terminated string); a control id of 0 ends the list. Fields are unaligned.
BOOL CDialog::ExecuteDlgInit(LPVOID lpResource)
{
    const BYTE* p = static_cast<const BYTE*>(lpResource);
    if (p == NULL)
        return TRUE;
    for (;;)
    {
        WORD nIDC, nMsg;
        DWORD length;
        memcpy(&nIDC, p, sizeof nIDC);
        if (nIDC == 0)
            break;
        memcpy(&nMsg, p + 2, sizeof nMsg);
        memcpy(&length, p + 4, sizeof length);
        const char* data = reinterpret_cast<const char*>(p + 8);
        if (nMsg == DLGINIT_CB_ADDSTRING)
            SendDlgItemMessage(nIDC, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data));
        else if (nMsg == DLGINIT_LB_ADDSTRING)
            SendDlgItemMessage(nIDC, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data));
        p += 8 + length;
    }
    return TRUE;
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0));
}
