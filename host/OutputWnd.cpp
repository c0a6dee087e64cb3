#include <windows.h>

#include "OutputWnd.h"

#include <VORAgent.h>

BEGIN_MESSAGE_MAP(COutputWnd, CListBox)
    ON_MESSAGE(WM_VOR_OUTPUT, &COutputWnd::OnVorOutput)
END_MESSAGE_MAP()

COutputWnd::COutputWnd() {}

COutputWnd::~COutputWnd() {}

BOOL COutputWnd::Create(CWnd* pParent, UINT nID)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
                        LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
    if (!CWnd::CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", NULL, style, 0, 0, 0, 0,
                        pParent->GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    // Long server lines scroll sideways rather than being cut.
    SendMessage(LB_SETHORIZONTALEXTENT, 2000);
    return TRUE;
}

void COutputWnd::AddNote(LPCSTR lpszText)
{
    AddLine(CString("> ") + lpszText);
}

void COutputWnd::AddLine(LPCSTR lpszText)
{
    int index = AddString(lpszText);
    if (index >= 0)
        SendMessage(LB_SETTOPINDEX, index);
}

void COutputWnd::Clear()
{
    ResetContent();
}

CString COutputWnd::Decorate(const CString& line, LPARAM kind)
{
    return kind == 0 ? "[오류] " + line : line;
}

LRESULT COutputWnd::OnVorOutput(WPARAM, LPARAM lParam)
{
    // The line is only valid while the library's send lasts: copy it now.
    AddLine(Decorate(VORAgent::GetLatestMsg(), lParam));
    return 0;
}
