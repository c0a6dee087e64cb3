#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <afxver_.h>

#include <map>
#include <vector>

#include "resource.h"

// Confirms a list of local files to check out for editing (type 1) or to release (type 2).
// The host's collection is emptied and refilled on OK with the files that were processed.
class AFX_EXT_CLASS CHCheckOutDlg : public CDialog
{
    DECLARE_DYNAMIC(CHCheckOutDlg)

public:
    explicit CHCheckOutDlg(CWnd* pParent = nullptr);
    virtual ~CHCheckOutDlg();

    enum
    {
        IDD = IDD_CHECKOUT_LIST
    };

    void SetDlgType(int nDlgType) { m_nDlgType = nDlgType; }
    // File names, all in one local folder.
    void SetCollFiles(std::vector<CString>* pCollFiles, const char* szCollPath);
    // File name to local folder.
    void SetMMapFiles(std::multimap<CString, CString>* pMMapFiles);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    afx_msg void OnLvnItemchangedCheckoutFile(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBnClickedSelectAll();
    afx_msg void OnBnClickedNonSelectAll();

    DECLARE_MESSAGE_MAP()

    CListCtrl m_listCheckoutFile;
    int m_bMMapFiles;
    std::multimap<CString, CString>* m_pMMapFiles;
    std::vector<CString>* m_pCollFiles;
    CString m_sCollPath;
    int m_nDlgType;

private:
    void InsertFileRow(const CString& sName, const CString& sFolder);
    int CountCheckedRows() const;
    void EmptyHostCollection();
    void WriteBack(const CString& sName, const CString& sFolder);
    BOOL ProcessFile(const CString& sName, const CString& sFolder);
    const char* OperationTitle() const;
};
