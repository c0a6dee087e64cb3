#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <afxver_.h>

#include "resource.h"

// Picks a repository folder, optionally creating a new one below the selected folder. The
// caller may preset m_sViewPath to open and select that folder; after OK it holds the choice.
class AFX_EXT_CLASS CHNewSvrPath : public CDialog
{
    DECLARE_DYNAMIC(CHNewSvrPath)

public:
    explicit CHNewSvrPath(CWnd* pParent = nullptr);
    virtual ~CHNewSvrPath();

    enum
    {
        IDD = IDD_NEW_SVR_PATH
    };

    CString m_sViewPath;

    afx_msg void OnBnClickedNewPath();
    afx_msg void OnTvnEndlabeleditVorStruct(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTvnBeginlabeleditVorStruct(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnReopenLabelEdit(WPARAM wParam, LPARAM lParam);

    void GetViewPath();

    DECLARE_MESSAGE_MAP()

private:
    void SelectTreeItemToPath();
    HTREEITEM GetChildItemToStr(HTREEITEM hParent, const CString& sText);
    BOOL IsSiblingNamed(HTREEITEM hItem, const CString& sName);

    CTreeCtrl m_treeVorStruct;
    CImageList m_imageList;
    int m_bNewFolder;
};
