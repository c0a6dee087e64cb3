#include <windows.h>

#include "CHCheckInDlg.h"

#include <algorithm>

#include "CHNewSvrPath.h"
#include "ListRows.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHCheckInDlg, CDialog)

BEGIN_MESSAGE_MAP(CHCheckInDlg, CDialog)
    ON_BN_CLICKED(IDC_CHANGE_HARVEST_ROOT, OnBnClickedChangePath)
    ON_BN_CLICKED(IDC_CHECKIN_SELECT_ALL, OnBnClickedSelectAll)
    ON_BN_CLICKED(IDC_CHECKIN_NON_SELECT_ALL, OnBnClickedNonSelectAll)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_CHECKIN_FILES, OnLvnColumnclickListCheckinFiles)
END_MESSAGE_MAP()

static const char s_szCheckInTitle[] = "Check In";
static const int kNameColumn = 0;
static const int kFolderColumn = 1;
static const int kKindColumn = 2;

CHCheckInDlg::CHCheckInDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_bSetHarvestRoot(0), m_bKeepCheckOut(0), m_bCollFilesEx(0),
      m_pCollFilesEx(nullptr), m_pCollFiles(nullptr)
{
}

CHCheckInDlg::~CHCheckInDlg() {}

void CHCheckInDlg::SetCollFiles(std::vector<CiFile>* pCollFiles, const char* szCollPath)
{
    m_pCollFiles = pCollFiles;
    m_sCollPath = szCollPath;
    m_bCollFilesEx = 0;
}

void CHCheckInDlg::SetCollFilesEx(std::vector<CiFileEx>* pCollFilesEx)
{
    m_pCollFilesEx = pCollFilesEx;
    m_bCollFilesEx = 1;
}

void CHCheckInDlg::SetRootPath(const char* szRootPath)
{
    m_sRootPath = szRootPath;
}

void CHCheckInDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHECKIN_FILES, m_listCheckinFiles);
}

BOOL CHCheckInDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_listCheckinFiles.InsertColumn(kNameColumn, "파일명", LVCFMT_LEFT, 120);
    m_listCheckinFiles.InsertColumn(kFolderColumn, "파일경로", LVCFMT_LEFT, 280);
    m_listCheckinFiles.InsertColumn(kKindColumn, "유형", LVCFMT_LEFT, 45);
    m_listCheckinFiles.SetExtendedStyle(m_listCheckinFiles.GetExtendedStyle() | LVS_EX_CHECKBOXES |
                                        LVS_EX_FULLROWSELECT);

    if (m_bCollFilesEx && m_pCollFilesEx)
    {
        for (const CiFileEx& file : *m_pCollFilesEx)
            InsertFileRow(file.m_sFileName, file.m_sFilePath, file.m_bNew);
    }
    else if (!m_bCollFilesEx && m_pCollFiles)
    {
        for (const CiFile& file : *m_pCollFiles)
            InsertFileRow(file.m_sFileName, m_sCollPath, file.m_bNew);
    }

    if (m_bSetHarvestRoot)
    {
        GetDlgItem(IDC_HARVEST_ROOT_LABEL)->EnableWindow(TRUE);
        GetDlgItem(IDC_HARVEST_ROOT_PATH)->EnableWindow(TRUE);
        GetDlgItem(IDC_CHANGE_HARVEST_ROOT)->EnableWindow(TRUE);
    }
    else
        SetDlgItemText(IDC_HARVEST_ROOT_PATH, VORAgent::GetViewPathVOR(m_sRootPath));
    return TRUE;
}

void CHCheckInDlg::InsertFileRow(const CString& sName, const CString& sFolder, int bNew)
{
    const int nRow = m_listCheckinFiles.InsertItem(m_listCheckinFiles.GetItemCount(), sName);
    m_listCheckinFiles.SetItemText(nRow, kFolderColumn, sFolder);
    m_listCheckinFiles.SetItemText(nRow, kKindColumn, bNew ? "신규" : "갱신");
    m_listCheckinFiles.SetCheck(nRow, TRUE);
}

void CHCheckInDlg::OnBnClickedSelectAll()
{
    SetAllChecks(m_listCheckinFiles, TRUE);
}

void CHCheckInDlg::OnBnClickedNonSelectAll()
{
    SetAllChecks(m_listCheckinFiles, FALSE);
}

void CHCheckInDlg::OnLvnColumnclickListCheckinFiles(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CHCheckInDlg::OnBnClickedChangePath()
{
    CHNewSvrPath dlg;
    if (dlg.DoModal() == IDOK)
        SetDlgItemText(IDC_HARVEST_ROOT_PATH, dlg.m_sViewPath);
}

CProgressCtrl* CHCheckInDlg::GetProgress()
{
    return static_cast<CProgressCtrl*>(GetDlgItem(IDC_CHECKIN_PROGRESS));
}

void CHCheckInDlg::OnOK()
{
    CString sHarvestRoot;
    GetDlgItemText(IDC_HARVEST_ROOT_PATH, sHarvestRoot);
    if (m_bSetHarvestRoot && sHarvestRoot.IsEmpty())
    {
        AfxMessageBox("하비스트 루트 경로를 설정하십시오.", MB_ICONINFORMATION);
        return;
    }

    m_bKeepCheckOut = IsDlgButtonChecked(IDC_KEEP_CHECKOUT) == BST_CHECKED;
    GetDlgItem(IDC_KEEP_CHECKOUT)->ShowWindow(SW_HIDE);
    GetProgress()->ShowWindow(SW_SHOW);

    CString sDescription;
    GetDlgItemText(IDC_DESCRIPTION, sDescription);
    if (m_bCollFilesEx)
        DoCheckInEx(m_bKeepCheckOut, sDescription);
    else
        DoCheckIn(m_bKeepCheckOut, sDescription);
    CDialog::OnOK();
}

// Only the name decides which record an unchecked row stands for: all share one folder.
void CHCheckInDlg::RemoveUncheckedFiles()
{
    for (int nRow = 0; nRow < m_listCheckinFiles.GetItemCount(); ++nRow)
    {
        if (m_listCheckinFiles.GetCheck(nRow))
            continue;
        const CString sName = m_listCheckinFiles.GetItemText(nRow, kNameColumn);
        auto found = std::find_if(m_pCollFiles->begin(), m_pCollFiles->end(),
                                  [&](const CiFile& file) { return file.m_sFileName == sName; });
        if (found != m_pCollFiles->end())
            m_pCollFiles->erase(found);
    }
}

void CHCheckInDlg::RemoveUncheckedFilesEx()
{
    for (int nRow = 0; nRow < m_listCheckinFiles.GetItemCount(); ++nRow)
    {
        if (m_listCheckinFiles.GetCheck(nRow))
            continue;
        const CString sName = m_listCheckinFiles.GetItemText(nRow, kNameColumn);
        const CString sFolder = m_listCheckinFiles.GetItemText(nRow, kFolderColumn);
        auto found =
            std::find_if(m_pCollFilesEx->begin(), m_pCollFilesEx->end(),
                         [&](const CiFileEx& file)
                         { return file.m_sFileName == sName && file.m_sFilePath == sFolder; });
        if (found != m_pCollFilesEx->end())
            m_pCollFilesEx->erase(found);
    }
}

void CHCheckInDlg::DoCheckIn(int bKeepCheckOut, const CString& sDescription)
{
    GetProgress()->SetPos(1);
    BeginWaitCursor();
    VORAgent::SetOutputMsg(s_szCheckInTitle, 1);

    if (m_pCollFiles)
    {
        RemoveUncheckedFiles();
        if (!m_pCollFiles->empty())
        {
            std::vector<CString> names;
            for (const CiFile& file : *m_pCollFiles)
                names.push_back(file.m_sFileName);
            VORAgent::DoCheckIn(
                &names, m_sCollPath, bKeepCheckOut,
                sDescription.IsEmpty() ? nullptr : static_cast<LPCSTR>(sDescription), nullptr);
        }
    }

    GetProgress()->SetPos(100);
    VORAgent::SetOutputMsg(s_szCheckInTitle, 0);
    EndWaitCursor();
}

// Checks each local folder in with one call, into the repository folder at the same place
// below the repository root, which is created first when missing.
void CHCheckInDlg::DoCheckInEx(int bKeepCheckOut, const CString& sDescription)
{
    if (!m_pCollFilesEx)
        return;
    RemoveUncheckedFilesEx();
    if (m_pCollFilesEx->empty())
        return;

    std::vector<CString> folders;
    for (const CiFileEx& file : *m_pCollFilesEx)
    {
        if (std::find(folders.begin(), folders.end(), file.m_sFilePath) == folders.end())
            folders.push_back(file.m_sFilePath);
    }

    const int nStep = 100 / static_cast<int>(folders.size());
    int nPos = 0;
    CProgressCtrl* pProgress = GetProgress();
    pProgress->SetPos(1);
    BeginWaitCursor();
    VORAgent::SetOutputMsg(s_szCheckInTitle, 1);
    CString sHarvestRoot;
    GetDlgItemText(IDC_HARVEST_ROOT_PATH, sHarvestRoot);

    for (const CString& sFolder : folders)
    {
        std::vector<CString> names;
        for (const CiFileEx& file : *m_pCollFilesEx)
        {
            if (file.m_sFilePath == sFolder)
                names.push_back(file.m_sFileName);
        }
        CString sRelativePath = sFolder;
        if (!m_sRootPath.IsEmpty())
            sRelativePath.Replace(m_sRootPath, "");
        VORAgent::CreateItemPath(sRelativePath.Mid(1), sHarvestRoot);
        VORAgent::DoCheckIn(&names, sFolder, bKeepCheckOut, sDescription,
                            sHarvestRoot + sRelativePath);
        nPos += nStep;
        pProgress->SetPos(nPos);
    }

    pProgress->SetPos(100);
    VORAgent::SetOutputMsg(s_szCheckInTitle, 0);
    EndWaitCursor();
}
