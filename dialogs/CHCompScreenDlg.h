#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <afxver_.h>

#include <vector>

#include "resource.h"

// Manages the composite screen files (.xml) of the repository with the check-out state of
// each: check out, get latest, check in, undo, and open in the host. Local copies live under
// the root folder followed by the repository path. The files to open are only collected; the
// host opens them after the dialog has closed.
class AFX_EXT_CLASS CHCompScreenDlg : public CDialog
{
    DECLARE_DYNAMIC(CHCompScreenDlg)

public:
    explicit CHCompScreenDlg(CWnd* pParent = nullptr);
    virtual ~CHCompScreenDlg();

    enum
    {
        IDD = IDD_COMP_SCREEN
    };

    CStringArray* GetRequiredOpenFiles();
    BOOL IsRequiredOpenFiles();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnCancel();

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnBnClickedChangePath();
    afx_msg void OnEnChangeClientPath();
    afx_msg void OnItemChangedXmlFiles(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColumnclickXmlFiles(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBnClickedCheckOut();
    afx_msg void OnBnClickedCheckIn();
    afx_msg void OnBnClickedCancelCheckout();
    afx_msg void OnBnClickedShowHistory();
    afx_msg void OnBnClickedGetLatestVer();
    afx_msg void OnBnClickedOpenXmlFile();

    static int CALLBACK CompareFunc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    DECLARE_MESSAGE_MAP()

    CStringArray m_arrRequiredOpenFiles;
    CListCtrl m_listXmlFiles;
    CImageList m_imgState;
    CEdit m_editClientPath;
    CString m_sClientPath;

    // The sort state lives in the class because the list's comparison function is static.
    static int m_nSortColumn;
    static int m_bSortAscending;

private:
    void UpdateItemState(int nItem);
    BOOL IsSeletedItems();
    BOOL IsItemsState(int nState);
    BOOL IsNotItemsState(int nState);
    void HProcStart(const CString& sLabel);
    void HProcEnd(const CString& sLabel);
    void SetSortInfo(int nColumn);
    CString GetOnlyPath(CString sPath) const;

    std::vector<int> GetSelectedItems() const;
    int GetItemStateIndex(int nItem) const;
    CString CreateLocalFolder(int nItem);
};
