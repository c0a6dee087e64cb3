#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <afxver_.h>

#include <vector>

#include "CiFile.h"
#include "CiFileEx.h"
#include "resource.h"

// Confirms the files to check in, with a description and the keep-checked-out choice. Either
// all files of one local folder (CiFile), or files of several folders below a local root
// (CiFileEx), whose repository folders are created below the repository root as needed.
// Unchecked rows are removed from the host's vector before the check-in.
class AFX_EXT_CLASS CHCheckInDlg : public CDialog
{
    DECLARE_DYNAMIC(CHCheckInDlg)

public:
    explicit CHCheckInDlg(CWnd* pParent = nullptr);
    virtual ~CHCheckInDlg();

    enum
    {
        IDD = IDD_CHECKIN_LIST
    };

    void SetCollFiles(std::vector<CiFile>* pCollFiles, const char* szCollPath);
    void SetCollFilesEx(std::vector<CiFileEx>* pCollFilesEx);
    void SetRootPath(const char* szRootPath);

    // Non-zero: the user chooses the repository root; otherwise it is the folder mapped to
    // the local root.
    int m_bSetHarvestRoot;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    afx_msg void OnBnClickedChangePath();
    afx_msg void OnBnClickedSelectAll();
    afx_msg void OnBnClickedNonSelectAll();
    afx_msg void OnLvnColumnclickListCheckinFiles(NMHDR* pNMHDR, LRESULT* pResult);

    void DoCheckIn(int bKeepCheckOut, const CString& sDescription);
    void DoCheckInEx(int bKeepCheckOut, const CString& sDescription);

    DECLARE_MESSAGE_MAP()

    int m_bKeepCheckOut;
    CListCtrl m_listCheckinFiles;
    int m_bCollFilesEx;
    std::vector<CiFileEx>* m_pCollFilesEx;
    CString m_sRootPath;
    std::vector<CiFile>* m_pCollFiles;
    CString m_sCollPath;

private:
    void InsertFileRow(const CString& sName, const CString& sFolder, int bNew);
    void RemoveUncheckedFiles();
    void RemoveUncheckedFilesEx();
    CProgressCtrl* GetProgress();
};
