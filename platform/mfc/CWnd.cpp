#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

#include <map>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

extern HINSTANCE afxModuleInstance;

namespace
{

std::map<HWND, CWnd*>& PermanentMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

std::map<HWND, CWnd*>& TemporaryMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

thread_local CWnd* windowBeingCreated = NULL;
thread_local AfxCurrentMessage currentMessage = {};

const char afxWndClass[] = "VorMfcWnd";

LPCSTR DefaultWindowClass()
{
    static ATOM atom = 0;
    if (atom == 0)
    {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = afxModuleInstance;
        wc.hCursor = ::LoadCursorA(NULL, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = afxWndClass;
        atom = ::RegisterClassA(&wc);
    }
    return afxWndClass;
}

bool IsChildWindow(HWND hWnd)
{
    return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0;
}

} // namespace

CWnd* AfxLookupPermanent(HWND hWnd)
{
    auto found = PermanentMap().find(hWnd);
    return found != PermanentMap().end() ? found->second : NULL;
}

void AfxSetPermanent(HWND hWnd, CWnd* pWnd)
{
    PermanentMap()[hWnd] = pWnd;
    auto temporary = TemporaryMap().find(hWnd);
    if (temporary != TemporaryMap().end())
    {
        temporary->second->m_hWnd = NULL;
        delete temporary->second;
        TemporaryMap().erase(temporary);
    }
}

void AfxRemovePermanent(HWND hWnd)
{
    PermanentMap().erase(hWnd);
}

void AfxDeleteTempObjects()
{
    std::map<HWND, CWnd*> temporaries;
    temporaries.swap(TemporaryMap());
    for (auto& entry : temporaries)
    {
        entry.second->m_hWnd = NULL;
        delete entry.second;
    }
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    windowBeingCreated = pWnd;
}

CWnd* AfxTakeWindowCreate()
{
    CWnd* pWnd = windowBeingCreated;
    windowBeingCreated = NULL;
    return pWnd;
}

AfxCurrentMessage& AfxGetCurrentMessage()
{
    return currentMessage;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AfxCurrentMessage saved = currentMessage;
    currentMessage = {hWnd, nMsg, wParam, lParam};
    LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
    currentMessage = saved;
    if (nMsg == WM_NCDESTROY && pWnd->m_hWnd == hWnd)
    {
        if (pWnd->m_pfnSuper != NULL &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == AfxWndProc)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
        pWnd->Detach();
        pWnd->m_pfnSuper = NULL;
        CWinApp* app = AfxGetApp();
        if (app->m_pMainWnd == pWnd)
        {
            app->m_pMainWnd = NULL;
            ::PostQuitMessage(0);
        }
        pWnd->PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = AfxLookupPermanent(hWnd);
    if (pWnd == NULL)
    {
        // The first message of a window of the framework's class: it belongs to the object
        // that is creating it.
        pWnd = AfxTakeWindowCreate();
        if (pWnd == NULL)
            return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
        pWnd->Attach(hWnd);
    }
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL;
         hWnd = IsChildWindow(hWnd) ? ::GetParent(hWnd) : NULL)
    {
        CWnd* pWnd = AfxLookupPermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return FALSE;
}

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_nFlags(0), m_nModalResult(-1) {}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && AfxLookupPermanent(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
}

HWND CWnd::GetSafeHwnd() const
{
    return this == NULL ? NULL : m_hWnd;
}

CWnd::operator HWND() const
{
    return GetSafeHwnd();
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    if (CWnd* pWnd = AfxLookupPermanent(hWnd))
        return pWnd;
    CWnd*& temporary = TemporaryMap()[hWnd];
    if (temporary == NULL)
    {
        temporary = new CWnd;
        temporary->m_hWnd = hWnd;
    }
    return temporary;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return AfxLookupPermanent(hWnd);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || AfxLookupPermanent(hWndNew) != NULL)
        return FALSE;
    m_hWnd = hWndNew;
    AfxSetPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL && AfxLookupPermanent(hWnd) == this)
        AfxRemovePermanent(hWnd);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (old != AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), nID);
    return hWndControl != NULL && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != NULL)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = NULL;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    bool ownClass = lpszClassName == NULL;
    if (ownClass)
        lpszClassName = DefaultWindowClass();
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                  nHeight, hWndParent, nIDorHMenu,
                                  ownClass ? afxModuleInstance : AfxGetInstanceHandle(), lpParam);
    bool attached = AfxTakeWindowCreate() == NULL;
    if (hWnd == NULL)
        return FALSE;
    return attached || SubclassWindow(hWnd);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == NULL)
        return FALSE;
    BOOL result = ::DestroyWindow(hWnd);
    if (m_hWnd == hWnd && AfxLookupPermanent(hWnd) != this)
        m_hWnd = NULL;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const AfxCurrentMessage& message = AfxGetCurrentMessage();
    return DefWindowProc(message.message, message.wParam, message.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
    {
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    if (message == WM_SETCURSOR && AfxWaitCursorShown())
    {
        AfxDoWaitCursor(0);
        *pResult = TRUE;
        return TRUE;
    }

    for (const AFX_MSGMAP* map = GetMessageMap(); map != NULL;
         map = map->pfnGetBaseMap != NULL ? map->pfnGetBaseMap() : NULL)
    {
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map->lpEntries, message, 0, 0);
        if (entry == NULL)
            continue;
        union
        {
            AFX_PMSG pfn;
            void (CWnd::*pfn_vv)();
            LRESULT (CWnd::*pfn_lwl)(WPARAM, LPARAM);
            void (CWnd::*pfn_v_up)(UINT_PTR);
            void (CWnd::*pfn_v_u_ii)(UINT, int, int);
            void (CWnd::*pfn_v_b_u)(BOOL, UINT);
            void (CWnd::*pfn_v_u_l)(UINT, LPARAM);
            void (CWnd::*pfn_v_w_p)(CWnd*, POINT);
        } handler;
        handler.pfn = entry->pfn;
        LRESULT result = 0;
        switch (entry->nSig)
        {
        case AfxSig_vv:
            (this->*handler.pfn_vv)();
            break;
        case AfxSig_lwl:
            result = (this->*handler.pfn_lwl)(wParam, lParam);
            break;
        case AfxSig_v_up_v:
            (this->*handler.pfn_v_up)(static_cast<UINT_PTR>(wParam));
            break;
        case AfxSig_v_u_ii:
            (this->*handler.pfn_v_u_ii)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_v_b_u:
            (this->*handler.pfn_v_b_u)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
            break;
        case AfxSig_v_u_l:
            (this->*handler.pfn_v_u_l)(static_cast<UINT>(wParam), lParam);
            break;
        case AfxSig_v_w_p:
        {
            POINT pos = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            (this->*handler.pfn_v_w_p)(FromHandle(reinterpret_cast<HWND>(wParam)), pos);
            break;
        }
        default:
            return FALSE;
        }
        *pResult = result;
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    // Menus and accelerators have no control window; both are plain commands.
    UINT nCode = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return OnCmdMsg(WM_COMMAND, nCode, nID, NULL, NULL);
}

namespace
{
// Wine's tree view repeats the end of a label edit when hiding its editor takes the focus
// from it; the editor is hidden by then, which a real end of editing never sees.
bool IsRepeatedEndOfLabelEdit(const NMHDR* header)
{
    if (header->code != TVN_ENDLABELEDITA && header->code != TVN_ENDLABELEDITW)
        return false;
    HWND editor =
        reinterpret_cast<HWND>(::SendMessageA(header->hwndFrom, TVM_GETEDITCONTROL, 0, 0));
    return editor != NULL && (::GetWindowLongA(editor, GWL_STYLE) & WS_VISIBLE) == 0;
}
} // namespace

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (IsRepeatedEndOfLabelEdit(header))
    {
        *pResult = 0;
        return TRUE;
    }
    return OnCmdMsg(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), header, pResult);
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CDataExchange*)
    {
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

int CWnd::RunModalLoop(DWORD)
{
    bool showPending = (GetStyle() & WS_VISIBLE) == 0;
    bool hookCalled = false;
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    MSG msg;
    while (ContinueModal())
    {
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (showPending)
            {
                showPending = false;
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                continue;
            }
            if (!hookCalled)
            {
                hookCalled = true;
                if (IsKindOf(RUNTIME_CLASS(CDialog)))
                    AfxCallModalHook(static_cast<CDialog*>(this));
                continue;
            }
            AfxDeleteTempObjects();
            if (AfxIsNonInteractive())
            {
                // Nobody is there to answer.
                EndModalLoop(IDABORT);
                break;
            }
            ::WaitMessage();
            continue;
        }
        if (!::GetMessageA(&msg, NULL, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (!AfxPreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    for (HWND child = ::GetTopWindow(m_hWnd); child != NULL;
         child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        ::SendMessageA(child, message, wParam, lParam);
        if (bDeep)
            FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

void CWnd::SetWindowText(LPCSTR lpszString)
{
    ::SetWindowTextA(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(length), length + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

void CWnd::SetFont(HFONT hFont, BOOL bRedraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
}

HFONT CWnd::GetFont() const
{
    return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

void CWnd::SetDlgItemText(int nID, LPCSTR lpszString)
{
    ::SetDlgItemTextA(m_hWnd, nID, lpszString);
}

int CWnd::GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const
{
    return ::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND item = ::GetDlgItem(m_hWnd, nID);
    if (item == NULL)
        return 0;
    FromHandle(item)->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (::IsDlgButtonChecked(m_hWnd, nID) == BST_CHECKED)
            return nID;
    return 0;
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    return ::IsDlgButtonChecked(m_hWnd, nIDButton);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* PASCAL CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetActiveWindow()
{
    return FromHandle(::SetActiveWindow(m_hWnd));
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const
{
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND hWnd = m_hWnd;
    while (hWnd != NULL && IsChildWindow(hWnd))
        hWnd = ::GetParent(hWnd);
    return FromHandle(hWnd);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
}

namespace
{
BOOL ModifyLong(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongA(hWnd, index));
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, index, static_cast<LONG>(newStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, NULL, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    HWND center = pAlternateOwner != NULL ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    RECT area;
    if (center != NULL && ::IsWindowVisible(center) && !::IsIconic(center))
        ::GetWindowRect(center, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    ::SetWindowPos(m_hWnd, NULL, (area.left + area.right - width) / 2,
                   (area.top + area.bottom - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, NULL, bErase);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN prgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate, flags);
}

void CWnd::SetRedraw(BOOL bRedraw)
{
    ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                        void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD))
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return AfxShowMessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnContextMenu(CWnd*, POINT)
{
    Default();
}
