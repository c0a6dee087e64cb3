#include <windows.h>

#include "CHAddFileDlg.h"

#include <afxdlgs.h>

#include <stdlib.h>

#include <vector>

#include "CHNewSvrPath.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHAddFileDlg, CDialog)

BEGIN_MESSAGE_MAP(CHAddFileDlg, CDialog)
    ON_BN_CLICKED(IDC_FIND_FILE, OnBnClickedFindFile)
    ON_BN_CLICKED(IDC_FIND_REPOSITORY, OnBnClickedFindRepository)
    ON_BN_CLICKED(IDC_CHECKIN_TO_SERVER, OnBnClickedCheckinToServer)
END_MESSAGE_MAP()

static const char s_szCheckInTitle[] = "Check In";

CHAddFileDlg::CHAddFileDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CHAddFileDlg::~CHAddFileDlg() {}

void CHAddFileDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CHAddFileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CHAddFileDlg::OnBnClickedFindFile()
{
    CFileDialog dlg(TRUE, "*.xml", nullptr, OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "종합화면 파일 (*.xml)| *.xml|모든 파일(*.*)|*.*||", nullptr);
    CString sInitialDir;
    GetDlgItemText(IDC_LOCAL_FILE, sInitialDir);
    dlg.m_ofn.lpstrInitialDir = sInitialDir;
    if (dlg.DoModal() == IDOK)
        SetDlgItemText(IDC_LOCAL_FILE, dlg.GetPathName());
}

void CHAddFileDlg::OnBnClickedFindRepository()
{
    CHNewSvrPath dlg;
    GetDlgItemText(IDC_REPOSITORY_PATH, dlg.m_sViewPath);
    if (dlg.DoModal() == IDOK)
        SetDlgItemText(IDC_REPOSITORY_PATH, dlg.m_sViewPath);
}

void CHAddFileDlg::OnBnClickedCheckinToServer()
{
    CString sFile;
    CString sViewPath;
    GetDlgItemText(IDC_LOCAL_FILE, sFile);
    GetDlgItemText(IDC_REPOSITORY_PATH, sViewPath);
    if (sFile.IsEmpty())
    {
        AfxMessageBox("서버에 체크인 하려는 파일을 선택해 주십시오.", MB_ICONINFORMATION);
        return;
    }
    if (sViewPath.IsEmpty())
    {
        AfxMessageBox("체크인 하려는 서버의 경로를 설정해 주십시오.", MB_ICONINFORMATION);
        return;
    }

    CString sFolder;
    CString sName;
    // A path too long to split names no file that could be checked in.
    if (!SplitName_Path_File(sFile, sFolder, sName))
        return;
    DoCheckIn(sName, sFolder, sViewPath);
}

int CHAddFileDlg::SplitName_Path_File(CString sPath, CString& sFolder, CString& sName)
{
    char szDrive[3];
    char szDir[256];
    char szTitle[256];
    char szExt[256];
    if (_splitpath_s(sPath, szDrive, sizeof szDrive, szDir, sizeof szDir, szTitle, sizeof szTitle,
                     szExt, sizeof szExt) != 0)
        return 0;

    sFolder = CString(szDrive) + szDir;
    if (sFolder.Right(1) == "\\")
        sFolder.Delete(sFolder.GetLength() - 1);
    sName = CString(szTitle) + szExt;
    return 1;
}

void CHAddFileDlg::DoCheckIn(const CString& sName, const CString& sFolder, const CString& sViewPath)
{
    BeginWaitCursor();
    VORAgent::SetOutputMsg(s_szCheckInTitle, 1);
    std::vector<CString> files(1, sName);
    VORAgent::DoCheckIn(&files, sFolder, 0, nullptr, sViewPath);
    VORAgent::SetOutputMsg(s_szCheckInTitle, 0);
    EndWaitCursor();
}
