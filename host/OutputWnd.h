#pragma once
#include <windows.h>
#include <afxwin.h>

// The host's output window: every line that vor.dll reports through WM_VOR_OUTPUT, and the
// host's own notes, one per row, newest at the bottom.
class COutputWnd : public CListBox
{
public:
    COutputWnd();
    ~COutputWnd();

    BOOL Create(CWnd* pParent, UINT nID);
    // A line of the host itself, so that it reads apart from the library's lines.
    void AddNote(LPCSTR lpszText);
    void AddLine(LPCSTR lpszText);
    void Clear();

    // How an output-log line reads here and on the console: error lines (lParam 0) marked.
    static CString Decorate(const CString& line, LPARAM kind);

protected:
    afx_msg LRESULT OnVorOutput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
