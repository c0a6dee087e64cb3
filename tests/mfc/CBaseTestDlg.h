#pragma once
#include <windows.h>

#include <afxwin.h>

#include <string>
#include <vector>

// A dialog base with handlers of its own, so that a derived map can be seen to chain to it.
class CBaseTestDlg : public CDialog
{
    DECLARE_DYNAMIC(CBaseTestDlg)
public:
    explicit CBaseTestDlg(UINT nIDTemplate, CWnd* pParent = NULL);
    ~CBaseTestDlg();

    std::vector<std::string> m_events;

protected:
    afx_msg void OnBnClickedBasePush();
    afx_msg void OnBnClickedPush();
    afx_msg void OnEnChangeEdit();
    DECLARE_MESSAGE_MAP()
};
