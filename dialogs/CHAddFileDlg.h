#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

#include "resource.h"

// Puts one new local file into a chosen repository folder. Stays open after an upload, so
// that more files can follow; the chosen file and folder are kept in the two edits.
class AFX_EXT_CLASS CHAddFileDlg : public CDialog
{
    DECLARE_DYNAMIC(CHAddFileDlg)

public:
    explicit CHAddFileDlg(CWnd* pParent = nullptr);
    virtual ~CHAddFileDlg();

    enum
    {
        IDD = IDD_ADD_FILE
    };

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();

    afx_msg void OnBnClickedFindFile();
    afx_msg void OnBnClickedFindRepository();
    afx_msg void OnBnClickedCheckinToServer();

    DECLARE_MESSAGE_MAP()

private:
    int SplitName_Path_File(CString sPath, CString& sFolder, CString& sName);
    void DoCheckIn(const CString& sName, const CString& sFolder, const CString& sViewPath);
};
