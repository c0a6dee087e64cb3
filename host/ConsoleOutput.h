#pragma once
#include <windows.h>
#include <afxwin.h>

#include <cstdio>

// The console mode's output window: a hidden message-only window that prints every
// output-log line to stdout as it arrives.
class CConsoleOutput : public CWnd
{
public:
    CConsoleOutput();
    ~CConsoleOutput();

    BOOL Create();
    int GetErrorLineCount() const { return m_nErrorLines; }

    // Text of the process's code page (949), written as UTF-8 so that a terminal or a pipe
    // reads Korean names as they are.
    static void Print(FILE* stream, LPCSTR lpszText);

protected:
    afx_msg LRESULT OnVorOutput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    int m_nErrorLines;
};
