#include <windows.h>

#include "CHRepositoryDlg.h"

#include <string>
#include <vector>

#include <XTBrowseDialog.h>

#include "DirMng.h"
#include "FolderTree.h"
#include "ListRows.h"
#include "RootFolder.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHRepositoryDlg, CDialog)

BEGIN_MESSAGE_MAP(CHRepositoryDlg, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_CHANGE_PATH, OnBnClickedChangePath)
    ON_BN_CLICKED(IDC_VIEW_FOLDER, OnBnClickedViewFolder)
    ON_BN_CLICKED(IDC_VIEW_SOLUTION, OnBnClickedViewSolution)
    ON_EN_CHANGE(IDC_CLIENT_PATH, OnEnChangeClientPath)
    ON_NOTIFY(TVN_SELCHANGED, IDC_REPOSITORY_TREE, OnSelChangedRepository)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SOLUTION_LIST, OnItemChangedSolution)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_SOLUTION_LIST, OnColumnclickSolution)
END_MESSAGE_MAP()

int CHRepositoryDlg::m_nSortColumn = -1;
int CHRepositoryDlg::m_bSortAscending = 1;

static const char s_szGetLatestTitle[] = "Get Latest Version";
static const int kNameColumn = 0;
static const int kPathColumn = 1;

// A drive root (C:\) loses its backslash so that a view path can follow it.
static CString WithoutDriveRootBackslash(CString sPath)
{
    if (sPath.GetLength() == 3)
        sPath.Remove('\\');
    return sPath;
}

CHRepositoryDlg::CHRepositoryDlg(CWnd* pParent) : CDialog(IDD, pParent), m_bSolutionLoaded(0) {}

CHRepositoryDlg::~CHRepositoryDlg() {}

void CHRepositoryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REPOSITORY_TREE, m_treeRepository);
    DDX_Control(pDX, IDC_SOLUTION_LIST, m_listSolution);
}

BOOL CHRepositoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!AttachFolderImages(m_treeRepository, m_imageList))
        return FALSE;

    m_sClientPath = RootFolderToStart(VORAgent::GetClientDirectory(), VORAgent::GetSysDrive());
    SetDlgItemText(IDC_CLIENT_PATH, m_sClientPath);
    SetDlgItemText(IDC_REAL_PATH, m_sClientPath);

    m_listSolution.InsertColumn(kNameColumn, "파일명", LVCFMT_LEFT, 130);
    m_listSolution.InsertColumn(kPathColumn, "파일경로", LVCFMT_LEFT, 240);
    m_listSolution.SetExtendedStyle(m_listSolution.GetExtendedStyle() | LVS_EX_GRIDLINES |
                                    LVS_EX_FULLROWSELECT);

    CheckRadioButton(IDC_VIEW_FOLDER, IDC_VIEW_SOLUTION, IDC_VIEW_FOLDER);
    CheckOKBtn();
    // The repository query is slow: fill the tree once the dialog is on screen.
    SetTimer(kFillTreeTimer, kFillTreeDelay, nullptr);

    m_nSortColumn = -1;
    m_bSortAscending = 1;
    return TRUE;
}

void CHRepositoryDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kFillTreeTimer)
    {
        KillTimer(kFillTreeTimer);
        BeginWaitCursor();
        VORAgent::SetRepositoryTree(&m_treeRepository);
        EndWaitCursor();
    }
    CDialog::OnTimer(nIDEvent);
}

BOOL CHRepositoryDlg::IsFolderView()
{
    return IsDlgButtonChecked(IDC_VIEW_FOLDER) == BST_CHECKED;
}

int CHRepositoryDlg::GetSelectedSolution()
{
    return m_listSolution.GetNextItem(-1, LVNI_SELECTED);
}

void CHRepositoryDlg::GetViewPath()
{
    m_sItemName = "*";
    m_sViewPath = TreeViewPath(m_treeRepository, m_treeRepository.GetSelectedItem());
}

// Shows the local folder that the current selection would be fetched into.
void CHRepositoryDlg::UpdateRealClientPath()
{
    CString sRootPath;
    GetDlgItemText(IDC_CLIENT_PATH, sRootPath);
    CString sRealPath = WithoutDriveRootBackslash(sRootPath);
    if (IsFolderView())
    {
        GetViewPath();
        sRealPath += m_sViewPath;
    }
    else
    {
        const int nRow = GetSelectedSolution();
        if (nRow >= 0)
            sRealPath += m_listSolution.GetItemText(nRow, kPathColumn);
    }
    SetDlgItemText(IDC_REAL_PATH, sRealPath);
}

void CHRepositoryDlg::CheckOKBtn()
{
    const BOOL bSelected =
        IsFolderView() ? m_treeRepository.GetSelectedItem() != nullptr : GetSelectedSolution() >= 0;
    GetDlgItem(IDOK)->EnableWindow(bSelected);
}

void CHRepositoryDlg::OnBnClickedViewFolder()
{
    m_treeRepository.ShowWindow(SW_SHOW);
    m_listSolution.ShowWindow(SW_HIDE);
    CheckOKBtn();
    UpdateRealClientPath();
}

void CHRepositoryDlg::OnBnClickedViewSolution()
{
    m_treeRepository.ShowWindow(SW_HIDE);
    m_listSolution.ShowWindow(SW_SHOW);
    if (!m_bSolutionLoaded)
    {
        VORAgent::QueryAllSolutionFiles(&m_listSolution);
        m_bSolutionLoaded = 1;
        SetSortInfo(kNameColumn);
    }
    CheckOKBtn();
    UpdateRealClientPath();
}

void CHRepositoryDlg::OnSelChangedRepository(NMHDR*, LRESULT* pResult)
{
    CheckOKBtn();
    UpdateRealClientPath();
    *pResult = 0;
}

void CHRepositoryDlg::OnItemChangedSolution(NMHDR*, LRESULT* pResult)
{
    CheckOKBtn();
    UpdateRealClientPath();
    *pResult = 0;
}

void CHRepositoryDlg::OnEnChangeClientPath()
{
    GetDlgItemText(IDC_CLIENT_PATH, m_sClientPath);
}

void CHRepositoryDlg::OnBnClickedChangePath()
{
    CXTBrowseDialog dlg(this);
    dlg.SetTitle("작업할 폴더 지정");
    dlg.SetSelPath(m_sClientPath);
    if (dlg.DoModal() != IDOK)
        return;
    m_sClientPath = dlg.GetSelPath();
    SetDlgItemText(IDC_CLIENT_PATH, m_sClientPath);
    UpdateRealClientPath();
}

void CHRepositoryDlg::OnColumnclickSolution(NMHDR* pNMHDR, LRESULT* pResult)
{
    SetSortInfo(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem);
    *pResult = 0;
}

void CHRepositoryDlg::SetSortInfo(int nColumn)
{
    SortByColumn(m_listSolution, nColumn, m_nSortColumn, m_bSortAscending, CompareFunc);
}

int CALLBACK CHRepositoryDlg::CompareFunc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    return CompareListRows(reinterpret_cast<CListCtrl*>(lParamSort), lParam1, lParam2,
                           m_nSortColumn, m_bSortAscending);
}

void CHRepositoryDlg::OnOK()
{
    BeginWaitCursor();
    VORAgent::SetOutputMsg(s_szGetLatestTitle, 1);

    GetDlgItemText(IDC_CLIENT_PATH, m_sClientPath);
    m_sClientPath = WithoutDriveRootBackslash(m_sClientPath);
    if (IsFolderView())
    {
        GetViewPath();
        const CString sClientDir = m_sClientPath + m_sViewPath;
        DirMng::CreateDir(static_cast<LPCSTR>(sClientDir));
        VORAgent::GetLatestVersion(m_sItemName, sClientDir, m_sViewPath);
    }
    else
        GetLatestOfSolution();

    VORAgent::SetOutputMsg(s_szGetLatestTitle, 0);
    EndWaitCursor();
    // Shown whatever the fetches did: their failures are in the output log.
    AfxMessageBox("하비스트 서버의 최신 파일을 받았습니다.", MB_ICONINFORMATION);
}

// Fetches the selected solution file, then every project folder that the fetched copy lists.
void CHRepositoryDlg::GetLatestOfSolution()
{
    const int nRow = GetSelectedSolution();
    if (nRow < 0)
        return;
    const CString sName = m_listSolution.GetItemText(nRow, kNameColumn);
    const CString sViewPath = m_listSolution.GetItemText(nRow, kPathColumn);
    const CString sClientDir = m_sClientPath + sViewPath;
    DirMng::CreateDir(static_cast<LPCSTR>(sClientDir));
    if (!VORAgent::GetLatestVersion(sName, sClientDir, sViewPath))
        return;

    std::vector<std::string> projectDirs;
    DirMng::GetProjDirs(static_cast<LPCSTR>(sClientDir + "\\" + sName), projectDirs);
    for (const std::string& sProjectDir : projectDirs)
    {
        const CString sProjectClientDir = sClientDir + sProjectDir.c_str();
        DirMng::CreateDir(static_cast<LPCSTR>(sProjectClientDir));
        VORAgent::GetLatestVersion("*", sProjectClientDir, sViewPath + sProjectDir.c_str());
    }
}

// Exit keeps the root folder as the client directory.
void CHRepositoryDlg::OnCancel()
{
    CString sRootPath;
    GetDlgItemText(IDC_CLIENT_PATH, sRootPath);
    VORAgent::m_sClientDir = RootFolderToKeep(sRootPath, VORAgent::GetSysDrive());
    CDialog::OnCancel();
}
