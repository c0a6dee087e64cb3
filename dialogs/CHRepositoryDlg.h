#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <afxver_.h>

#include "resource.h"

// Gets the latest versions of a repository folder, or of a solution with its project folders,
// into the local root folder. Stays open for more fetches; Exit keeps the root folder as the
// agent's client directory.
class AFX_EXT_CLASS CHRepositoryDlg : public CDialog
{
    DECLARE_DYNAMIC(CHRepositoryDlg)

public:
    explicit CHRepositoryDlg(CWnd* pParent = nullptr);
    virtual ~CHRepositoryDlg();

    enum
    {
        IDD = IDD_REPOSITORY
    };

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnBnClickedChangePath();
    afx_msg void OnBnClickedViewFolder();
    afx_msg void OnBnClickedViewSolution();
    afx_msg void OnEnChangeClientPath();
    afx_msg void OnSelChangedRepository(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnItemChangedSolution(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColumnclickSolution(NMHDR* pNMHDR, LRESULT* pResult);

    void GetViewPath();
    void UpdateRealClientPath();
    void CheckOKBtn();
    void SetSortInfo(int nColumn);
    static int CALLBACK CompareFunc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    BOOL IsFolderView();
    int GetSelectedSolution();
    void GetLatestOfSolution();

    DECLARE_MESSAGE_MAP()

    CString m_sClientPath;
    CString m_sViewPath;
    CString m_sItemName;
    int m_bSolutionLoaded;
    CTreeCtrl m_treeRepository;
    CListCtrl m_listSolution;
    CImageList m_imageList;

    // The sort state lives in the class because the list's comparison function is static.
    static int m_nSortColumn;
    static int m_bSortAscending;
};
