#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <afxver_.h>

#include "HItemVerions.h"
#include "resource.h"

// Lists the normal and reserved versions of one repository file, newest first; fetches an
// older version into the local folder, compares two versions (or a version with the local
// working copy) in the difference program, and shows a version's details.
class AFX_EXT_CLASS CHShowHistoryDlg : public CDialog
{
    DECLARE_DYNAMIC(CHShowHistoryDlg)

public:
    explicit CHShowHistoryDlg(CWnd* pParent = nullptr);
    virtual ~CHShowHistoryDlg();

    enum
    {
        IDD = IDD_SHOW_HISTORY
    };

    CString m_sFileName; // item name, set by the host
    CString m_sLocalDir; // local folder of the file, without trailing backslash

    afx_msg void OnLvnItemchangedVersionsList(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBnClickedGetVersion();
    afx_msg void OnBnClickedCompareVers();
    afx_msg void OnBnClickedShowDetails();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();

    HItemVerion* GetSelectedVer(int& nItem, int nAfter);
    CString DiffProgramName();
    void DiffVersion(CString sFirstFile, CString sSecondFile);
    void DelFile(CString sPath);

    DECLARE_MESSAGE_MAP()

    CListCtrl m_listVersions;
    CImageList m_imgState;
    HItemVerions m_versions;

private:
    BOOL IsReservedByMe(const HItemVerion& version) const;
    BOOL FetchVersionAs(const HItemVerion& version, const CString& sTempDir,
                        const CString& sTarget);
};
