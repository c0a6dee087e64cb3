#pragma once
#include <windows.h>

#include <afxcmn.h>

#include "CBaseTestDlg.h"
#include "TestResources.h"

// Every control family the library uses, bound by data exchange, with a handler for each
// notification kind.
class CControlsDlg : public CBaseTestDlg
{
    DECLARE_DYNAMIC(CControlsDlg)
public:
    enum
    {
        IDD = IDD_CONTROLS
    };
    explicit CControlsDlg(CWnd* pParent = NULL);
    ~CControlsDlg();

    CEdit m_edit;
    CComboBox m_combo;
    CListCtrl m_list;
    CTreeCtrl m_tree;

    CString m_sText;
    // Set while an editor opened by the test may commit; an empty or "No Name" label reopens it.
    HTREEITEM m_hReopenItem = NULL;
    int m_nReopened = 0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnBnClickedPush();
    afx_msg void OnCbnSelchangeCombo();
    afx_msg void OnLvnItemchangedList(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTvnBeginlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTvnEndlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnAppMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
