#include <windows.h>

#include "CHCompScreenDlg.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <vector>

#include <XTBrowseDialog.h>

#include "DirMng.h"
#include "HItemState.h"
#include "ListRows.h"
#include "RootFolder.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHCompScreenDlg, CDialog)

BEGIN_MESSAGE_MAP(CHCompScreenDlg, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_XML_CHANGE_PATH, OnBnClickedChangePath)
    ON_EN_CHANGE(IDC_XML_CLIENT_PATH, OnEnChangeClientPath)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_XML_FILES, OnItemChangedXmlFiles)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_XML_FILES, OnColumnclickXmlFiles)
    ON_BN_CLICKED(IDC_CHECK_OUT, OnBnClickedCheckOut)
    ON_BN_CLICKED(IDC_CHECK_IN, OnBnClickedCheckIn)
    ON_BN_CLICKED(IDC_CANCEL_CHECKOUT, OnBnClickedCancelCheckout)
    ON_BN_CLICKED(IDC_SHOW_HISTORY, OnBnClickedShowHistory)
    ON_BN_CLICKED(IDC_GET_LATEST_VER, OnBnClickedGetLatestVer)
    ON_BN_CLICKED(IDC_OPEN_XML_FILE, OnBnClickedOpenXmlFile)
END_MESSAGE_MAP()

int CHCompScreenDlg::m_nSortColumn = -1;
int CHCompScreenDlg::m_bSortAscending = 1;

// The states of the files read once the dialog has appeared: the query is one per row.
static const UINT_PTR kReadStatesTimer = 329;
static const UINT kReadStatesDelay = 50;

static const int kNameColumn = 0;
static const int kPathColumn = 1;
static const int kUserColumn = 2;
static const int kCheckOutPathColumn = 3;

// State image indexes of a row.
static const int kUnknownState = 0;
static const int kFreeState = 1;
static const int kHeldByOtherState = 2;
static const int kHeldByMeState = 3;

// Shows why a selection is refused; TRUE when it is not.
static BOOL Accept(BOOL bAccepted, LPCSTR szRefusal)
{
    if (!bAccepted)
        AfxMessageBox(szRefusal, MB_ICONINFORMATION);
    return bAccepted;
}

CHCompScreenDlg::CHCompScreenDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CHCompScreenDlg::~CHCompScreenDlg() {}

CStringArray* CHCompScreenDlg::GetRequiredOpenFiles()
{
    return &m_arrRequiredOpenFiles;
}

BOOL CHCompScreenDlg::IsRequiredOpenFiles()
{
    return m_arrRequiredOpenFiles.GetSize() > 0;
}

void CHCompScreenDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_XML_FILES, m_listXmlFiles);
    DDX_Control(pDX, IDC_XML_CLIENT_PATH, m_editClientPath);
}

BOOL CHCompScreenDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!AttachStateImages(m_listXmlFiles, m_imgState))
        return FALSE;

    m_sClientPath = RootFolderToStart(VORAgent::GetClientDirectory(), VORAgent::GetSysDrive());
    m_editClientPath.SetWindowText(m_sClientPath);

    m_listXmlFiles.InsertColumn(kNameColumn, "파일명", LVCFMT_LEFT, 80);
    m_listXmlFiles.InsertColumn(kPathColumn, "파일경로", LVCFMT_LEFT, 200);
    m_listXmlFiles.InsertColumn(kUserColumn, "사용자", LVCFMT_LEFT, 50);
    m_listXmlFiles.InsertColumn(kCheckOutPathColumn, "체크아웃 폴더", LVCFMT_LEFT, 200);
    m_listXmlFiles.SetExtendedStyle(m_listXmlFiles.GetExtendedStyle() | LVS_EX_FULLROWSELECT |
                                    LVS_EX_GRIDLINES);

    VORAgent::QueryAllCompScreenFiles(&m_listXmlFiles);
    SetTimer(kReadStatesTimer, kReadStatesDelay, nullptr);

    m_nSortColumn = -1;
    m_bSortAscending = 1;
    return TRUE;
}

void CHCompScreenDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kReadStatesTimer)
    {
        KillTimer(kReadStatesTimer);
        // On a busy machine the timer can come before the modal loop has found an idle moment
        // to show the dialog: the user is to see the rows before the slow queries start.
        if (!IsWindowVisible())
            ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        BeginWaitCursor();
        // Nothing is painted until the loop ends; held redraws spare the list an invalidation
        // per changed cell, which costs as much as a third of the state queries.
        m_listXmlFiles.SetRedraw(FALSE);
        for (int nItem = 0; nItem < m_listXmlFiles.GetItemCount(); ++nItem)
            UpdateItemState(nItem);
        m_listXmlFiles.SetRedraw(TRUE);
        m_listXmlFiles.Invalidate();
        EndWaitCursor();
    }
    CDialog::OnTimer(nIDEvent);
}

void CHCompScreenDlg::UpdateItemState(int nItem)
{
    HItemState state;
    if (!VORAgent::GetLatestVerInfo(m_listXmlFiles.GetItemText(nItem, kNameColumn),
                                    m_listXmlFiles.GetItemText(nItem, kPathColumn), &state))
        return;

    int nState = kUnknownState;
    if (state.m_sStatus == "N")
        nState = kFreeState;
    else if (state.m_sStatus == "R1")
        nState = kHeldByMeState;
    else if (state.m_sStatus == "R2")
        nState = kHeldByOtherState;
    else
        return;

    m_listXmlFiles.SetItemState(nItem, INDEXTOSTATEIMAGEMASK(nState), LVIS_STATEIMAGEMASK);
    m_listXmlFiles.SetItemText(nItem, kUserColumn, state.m_sModifier);
    m_listXmlFiles.SetItemText(nItem, kCheckOutPathColumn, state.m_sClientPath);
    m_listXmlFiles.Update(nItem);
}

std::vector<int> CHCompScreenDlg::GetSelectedItems() const
{
    std::vector<int> items;
    for (int nItem = m_listXmlFiles.GetNextItem(-1, LVNI_SELECTED); nItem >= 0;
         nItem = m_listXmlFiles.GetNextItem(nItem, LVNI_SELECTED))
        items.push_back(nItem);
    return items;
}

int CHCompScreenDlg::GetItemStateIndex(int nItem) const
{
    return m_listXmlFiles.GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12;
}

// The row's local folder, created when missing: the root folder followed by the repository
// path; a root such as C:\ leaves a doubled backslash, which is collapsed.
CString CHCompScreenDlg::CreateLocalFolder(int nItem)
{
    CString sFolder = m_sClientPath + m_listXmlFiles.GetItemText(nItem, kPathColumn);
    sFolder.Replace("\\\\", "\\");
    DirMng::CreateDir(static_cast<LPCSTR>(sFolder));
    return sFolder;
}

BOOL CHCompScreenDlg::IsSeletedItems()
{
    if (m_listXmlFiles.GetSelectedCount() > 0)
        return TRUE;
    AfxMessageBox("선택된 항목이 없습니다. 원하는 항목을 선택해 주십시오.",
                  MB_OK | MB_ICONINFORMATION);
    return FALSE;
}

BOOL CHCompScreenDlg::IsItemsState(int nState)
{
    for (int nItem : GetSelectedItems())
    {
        if (GetItemStateIndex(nItem) != nState)
            return FALSE;
    }
    return TRUE;
}

BOOL CHCompScreenDlg::IsNotItemsState(int nState)
{
    for (int nItem : GetSelectedItems())
    {
        if (GetItemStateIndex(nItem) == nState)
            return FALSE;
    }
    return TRUE;
}

void CHCompScreenDlg::HProcStart(const CString& sLabel)
{
    BeginWaitCursor();
    VORAgent::SetOutputMsg(sLabel, 1);
}

void CHCompScreenDlg::HProcEnd(const CString& sLabel)
{
    VORAgent::SetOutputMsg(sLabel, 0);
    EndWaitCursor();
}

void CHCompScreenDlg::OnBnClickedCheckOut()
{
    if (!IsSeletedItems() ||
        !Accept(IsItemsState(kFreeState), "다른 사람(혹은 자신)이 체크아웃한 파일은 재차 "
                                          "체크아웃할 수 없습니다."))
        return;
    HProcStart("Check Out");
    for (int nItem : GetSelectedItems())
    {
        const CString sFolder = CreateLocalFolder(nItem);
        VORAgent::DoCheckOut(m_listXmlFiles.GetItemText(nItem, kNameColumn), sFolder,
                             m_listXmlFiles.GetItemText(nItem, kPathColumn));
        UpdateItemState(nItem);
    }
    HProcEnd("Check Out");
}

void CHCompScreenDlg::OnBnClickedGetLatestVer()
{
    if (!IsSeletedItems() ||
        !Accept(IsNotItemsState(kHeldByMeState),
                "체크아웃한 파일이 포함되어 있습니다.\r\n체크아웃한 상태의 파일은 최신 버전을 "
                "받을 수 없습니다."))
        return;
    HProcStart("Get Latest Version");
    for (int nItem : GetSelectedItems())
    {
        const CString sFolder = CreateLocalFolder(nItem);
        VORAgent::GetLatestVersion(m_listXmlFiles.GetItemText(nItem, kNameColumn), sFolder,
                                   m_listXmlFiles.GetItemText(nItem, kPathColumn));
    }
    HProcEnd("Get Latest Version");
}

void CHCompScreenDlg::OnBnClickedCheckIn()
{
    if (!IsSeletedItems() || !Accept(IsItemsState(kHeldByMeState),
                                     "자신이 체크아웃한 파일에 한해서 체크인 할 수 있습니다."))
        return;
    HProcStart("Check In");
    for (int nItem : GetSelectedItems())
    {
        std::vector<CString> files(1, m_listXmlFiles.GetItemText(nItem, kNameColumn));
        VORAgent::DoCheckIn(&files,
                            GetOnlyPath(m_listXmlFiles.GetItemText(nItem, kCheckOutPathColumn)), 0,
                            nullptr, m_listXmlFiles.GetItemText(nItem, kPathColumn));
        UpdateItemState(nItem);
    }
    HProcEnd("Check In");
}

void CHCompScreenDlg::OnBnClickedCancelCheckout()
{
    if (!IsSeletedItems() ||
        !Accept(IsItemsState(kHeldByMeState),
                "자신이 체크아웃한 파일에 한해서 체크아웃 취소 할 수 있습니다."))
        return;
    HProcStart("Undo Checkout");
    for (int nItem : GetSelectedItems())
    {
        const CString sName = m_listXmlFiles.GetItemText(nItem, kNameColumn);
        const CString sViewPath = m_listXmlFiles.GetItemText(nItem, kPathColumn);
        const CString sFolder = GetOnlyPath(m_listXmlFiles.GetItemText(nItem, kCheckOutPathColumn));
        // Read-only and the latest version even when the release failed: no edit is to be
        // made on a copy that nobody holds.
        VORAgent::UndoCheckOut(sName, sFolder, sViewPath);
        _chmod(sFolder + "\\" + sName, _S_IREAD);
        VORAgent::GetLatestVersion(sName, sFolder, sViewPath);
        UpdateItemState(nItem);
    }
    HProcEnd("Undo Checkout");
}

void CHCompScreenDlg::OnBnClickedShowHistory() {}

// A file held by me opens where I checked it out; any other opens below the root folder.
void CHCompScreenDlg::OnBnClickedOpenXmlFile()
{
    if (!IsSeletedItems())
        return;
    for (int nItem : GetSelectedItems())
    {
        if (GetItemStateIndex(nItem) == kHeldByMeState)
            m_arrRequiredOpenFiles.Add(m_listXmlFiles.GetItemText(nItem, kCheckOutPathColumn));
        else
            m_arrRequiredOpenFiles.Add(m_sClientPath +
                                       m_listXmlFiles.GetItemText(nItem, kPathColumn) + "\\" +
                                       m_listXmlFiles.GetItemText(nItem, kNameColumn));
    }
    OnCancel();
}

void CHCompScreenDlg::OnBnClickedChangePath()
{
    CXTBrowseDialog dlg(this);
    dlg.SetTitle("작업할 폴더 지정");
    dlg.SetSelPath(m_sClientPath);
    if (dlg.DoModal() != IDOK)
        return;
    m_sClientPath = dlg.GetSelPath();
    m_editClientPath.SetWindowText(m_sClientPath);
}

void CHCompScreenDlg::OnEnChangeClientPath()
{
    m_editClientPath.GetWindowText(m_sClientPath);
}

void CHCompScreenDlg::OnItemChangedXmlFiles(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CHCompScreenDlg::OnColumnclickXmlFiles(NMHDR* pNMHDR, LRESULT* pResult)
{
    SetSortInfo(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem);
    *pResult = 0;
}

void CHCompScreenDlg::SetSortInfo(int nColumn)
{
    SortByColumn(m_listXmlFiles, nColumn, m_nSortColumn, m_bSortAscending, CompareFunc);
}

int CALLBACK CHCompScreenDlg::CompareFunc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    return CompareListRows(reinterpret_cast<CListCtrl*>(lParamSort), lParam1, lParam2,
                           m_nSortColumn, m_bSortAscending);
}

// The folder of a full file path, without trailing backslash (C:\main.xml gives C:).
CString CHCompScreenDlg::GetOnlyPath(CString sPath) const
{
    char szDrive[3];
    char szDir[256];
    if (_splitpath_s(sPath, szDrive, sizeof szDrive, szDir, sizeof szDir, nullptr, 0, nullptr, 0) !=
        0)
        return CString();
    CString sFolder = CString(szDrive) + szDir;
    if (sFolder.Right(1) == "\\")
        sFolder.Delete(sFolder.GetLength() - 1);
    return sFolder;
}

// Every way out but OK keeps the root folder as the client directory.
void CHCompScreenDlg::OnCancel()
{
    CString sRootPath;
    m_editClientPath.GetWindowText(sRootPath);
    VORAgent::m_sClientDir = RootFolderToKeep(sRootPath, VORAgent::GetSysDrive());
    CDialog::OnCancel();
}
