#include <windows.h>

#include "CHShowHistoryDlg.h"

#include <io.h>
#include <shellapi.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>

#include <vuverav.h>

#include "CHVerDetailsDlg.h"
#include "ListRows.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHShowHistoryDlg, CDialog)

BEGIN_MESSAGE_MAP(CHShowHistoryDlg, CDialog)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_VERSIONS_LIST, OnLvnItemchangedVersionsList)
    ON_BN_CLICKED(IDC_GET_VERSION, OnBnClickedGetVersion)
    ON_BN_CLICKED(IDC_COMPARE_VERS, OnBnClickedCompareVers)
    ON_BN_CLICKED(IDC_SHOW_DETAILS, OnBnClickedShowDetails)
END_MESSAGE_MAP()

static const char s_szGetAtVersionTitle[] = "Get At Version";
static const char s_szDiffProgram[] = "WinDiff.Exe";

static const int kVersionColumn = 0;
static const int kUserColumn = 1;
static const int kDateColumn = 2;
static const int kDescriptionColumn = 3;

// State images of a reserved version: held elsewhere, or by me in this folder on this machine.
static const int kReservedElsewhereState = 2;
static const int kReservedHereState = 3;

static void ShowFetchFailure(const HItemVerion& version)
{
    CString sMessage;
    sMessage.Format("%d%s", static_cast<int>(version.m_nVersionObjId), " 버전 가져오기 실패");
    AfxMessageBox(sMessage, MB_ICONERROR);
}

static void ShowMoveFailure(const CString& sFile)
{
    CString sMessage;
    sMessage.Format("%s 파일 이동 중에 에러가 발생했습니다.", static_cast<LPCSTR>(sFile));
    AfxMessageBox(sMessage, MB_OK);
}

CHShowHistoryDlg::CHShowHistoryDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CHShowHistoryDlg::~CHShowHistoryDlg() {}

void CHShowHistoryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VERSIONS_LIST, m_listVersions);
}

BOOL CHShowHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!AttachStateImages(m_listVersions, m_imgState))
        return FALSE;

    m_listVersions.InsertColumn(kVersionColumn, "버전", LVCFMT_LEFT, 45);
    m_listVersions.InsertColumn(kUserColumn, "사용자", LVCFMT_LEFT, 80);
    m_listVersions.InsertColumn(kDateColumn, "날짜", LVCFMT_LEFT, 100);
    m_listVersions.InsertColumn(kDescriptionColumn, "설명", LVCFMT_LEFT, 190);
    m_listVersions.SetExtendedStyle(m_listVersions.GetExtendedStyle() | LVS_EX_GRIDLINES |
                                    LVS_EX_FULLROWSELECT);

    GetDlgItem(IDC_GET_VERSION)->EnableWindow(FALSE);
    GetDlgItem(IDC_COMPARE_VERS)->EnableWindow(FALSE);
    GetDlgItem(IDC_SHOW_DETAILS)->EnableWindow(FALSE);

    const int nVersions = VORAgent::GetAllVersions(m_sFileName, m_sLocalDir, &m_versions);
    SetDlgItemText(IDC_HISTORY_FILE_PATH, m_versions.m_sItemPath);
    if (nVersions <= 0)
        return TRUE;

    // Version names are numbers: "10" is newer than "9".
    std::vector<HItemVerion*>& versions = m_versions.m_vecVersions;
    std::stable_sort(versions.begin(), versions.end(),
                     [](const HItemVerion* pFirst, const HItemVerion* pSecond)
                     { return atof(pFirst->m_sVersionName) > atof(pSecond->m_sVersionName); });

    const CString sUserName = VORAgent::GetUserNameA();
    for (const HItemVerion* pVersion : versions)
    {
        const BOOL bReserved = pVersion->m_sStatus == "R";
        if (!bReserved && pVersion->m_sStatus != "N")
            continue;
        const int nItem =
            m_listVersions.InsertItem(m_listVersions.GetItemCount(), pVersion->m_sVersionName);
        m_listVersions.SetItemText(nItem, kUserColumn, pVersion->m_sModifier);
        m_listVersions.SetItemText(nItem, kDateColumn, pVersion->m_sModifiedTime);
        m_listVersions.SetItemText(nItem, kDescriptionColumn, pVersion->m_sDescription);
        if (!bReserved)
            continue;
        const BOOL bReservedHere =
            pVersion->m_sModifier == sUserName &&
            pVersion->m_sClientMachine.CompareNoCase(VORAgent::m_sMyComName) == 0 &&
            pVersion->m_sClientPath.Find(m_sLocalDir) >= 0;
        m_listVersions.SetItemState(
            nItem,
            INDEXTOSTATEIMAGEMASK(bReservedHere ? kReservedHereState : kReservedElsewhereState),
            LVIS_STATEIMAGEMASK);
    }
    return TRUE;
}

BOOL CHShowHistoryDlg::IsReservedByMe(const HItemVerion& version) const
{
    return version.m_sStatus == "R" && version.m_sModifier == VORAgent::GetUserNameA();
}

HItemVerion* CHShowHistoryDlg::GetSelectedVer(int& nItem, int nAfter)
{
    nItem = m_listVersions.GetNextItem(nAfter, LVNI_SELECTED);
    if (nItem < 0)
        return nullptr;
    const CString sVersionName = m_listVersions.GetItemText(nItem, kVersionColumn);
    for (HItemVerion* pVersion : m_versions.m_vecVersions)
    {
        if (pVersion->m_sVersionName == sVersionName)
            return pVersion;
    }
    return nullptr;
}

void CHShowHistoryDlg::OnLvnItemchangedVersionsList(NMHDR*, LRESULT* pResult)
{
    const UINT nSelected = m_listVersions.GetSelectedCount();
    int nItem = -1;
    const HItemVerion* pUpper = GetSelectedVer(nItem, -1);

    const BOOL bCanGet = nSelected == 1 && pUpper && pUpper->m_sStatus != "R";
    // A version reserved by somebody else has no bytes of its own to compare.
    const BOOL bCanCompare =
        nSelected == 2 && pUpper && !(pUpper->m_sStatus == "R" && !IsReservedByMe(*pUpper));
    GetDlgItem(IDC_GET_VERSION)->EnableWindow(bCanGet);
    GetDlgItem(IDC_COMPARE_VERS)->EnableWindow(bCanCompare);
    GetDlgItem(IDC_SHOW_DETAILS)->EnableWindow(nSelected == 1);
    *pResult = 0;
}

void CHShowHistoryDlg::OnBnClickedGetVersion()
{
    // The newest version held by me is my working copy: an older one must not replace it.
    const std::vector<HItemVerion*>& versions = m_versions.m_vecVersions;
    if (!versions.empty() && IsReservedByMe(*versions.front()))
    {
        AfxMessageBox("체크아웃 상태에서는 이전 버전 가져오기를 못합니다.", MB_ICONERROR);
        return;
    }

    int nItem = -1;
    const HItemVerion* pVersion = GetSelectedVer(nItem, -1);
    if (!pVersion)
        return;
    BeginWaitCursor();
    VORAgent::SetOutputMsg(s_szGetAtVersionTitle, 1);
    if (!VORAgent::GetFileAtVersion(pVersion->m_nVersionObjId, m_sLocalDir, nullptr))
    {
        EndWaitCursor();
        ShowFetchFailure(*pVersion);
        return;
    }
    VORAgent::SetOutputMsg(s_szGetAtVersionTitle, 0);
    EndWaitCursor();
}

// Fetches the version into the temp folder and renames it to sTarget there, so that two
// versions of the same file can lie side by side.
BOOL CHShowHistoryDlg::FetchVersionAs(const HItemVerion& version, const CString& sTempDir,
                                      const CString& sTarget)
{
    BeginWaitCursor();
    VORAgent::SetOutputMsg(s_szGetAtVersionTitle, 1);
    if (!VORAgent::GetFileAtVersion(version.m_nVersionObjId, m_sLocalDir, sTempDir))
    {
        EndWaitCursor();
        ShowFetchFailure(version);
        return FALSE;
    }
    VORAgent::SetOutputMsg(s_szGetAtVersionTitle, 0);
    EndWaitCursor();
    if (!MoveFileA(sTempDir + m_sFileName, sTarget))
    {
        ShowMoveFailure(sTarget);
        return FALSE;
    }
    return TRUE;
}

// The earlier of the two selected versions goes first, the later one (or my working copy of
// a version I hold) second.
void CHShowHistoryDlg::OnBnClickedCompareVers()
{
    if (DiffProgramName().IsEmpty())
        return;
    int nLaterItem = -1;
    const HItemVerion* pLater = GetSelectedVer(nLaterItem, -1);
    int nEarlierItem = -1;
    const HItemVerion* pEarlier = pLater ? GetSelectedVer(nEarlierItem, nLaterItem) : nullptr;
    if (!pEarlier)
        return;

    const CString sTempDir = VORAgent::GetSysDrive() + "temp\\";
    if (GetFileAttributesA(sTempDir) == INVALID_FILE_ATTRIBUTES &&
        !CreateDirectoryA(sTempDir, nullptr))
        return;

    const CString sEarlierFile = sTempDir + "v" + pEarlier->m_sVersionName + "_" + m_sFileName;
    DelFile(sEarlierFile);
    if (!FetchVersionAs(*pEarlier, sTempDir, sEarlierFile))
        return;

    CString sLaterFile;
    if (pLater->m_sStatus != "R")
    {
        sLaterFile = sTempDir + "v" + pLater->m_sVersionName + "_" + m_sFileName;
        DelFile(sLaterFile);
        if (!FetchVersionAs(*pLater, sTempDir, sLaterFile))
            return;
    }
    else
    {
        sLaterFile = sTempDir + "local_" + m_sFileName;
        DelFile(sLaterFile);
        if (!CopyFileA(m_sLocalDir + "\\" + m_sFileName, sLaterFile, FALSE))
        {
            ShowMoveFailure(sLaterFile);
            return;
        }
    }
    DiffVersion(sEarlierFile, sLaterFile);
}

void CHShowHistoryDlg::OnBnClickedShowDetails()
{
    int nItem = -1;
    CHVerDetailsDlg dlg;
    dlg.m_pVersion = GetSelectedVer(nItem, -1);
    dlg.DoModal();
}

// The difference program of the host's tools folder; empty, after telling the user, when it
// is not there.
CString CHShowHistoryDlg::DiffProgramName()
{
    char szPath[MAX_PATH] = {};
    DWORD nSize = MAX_PATH;
    GetSystemPath(VUVERAV_PATH_TOOLS, szPath, &nSize, TRUE);
    strncat(szPath, s_szDiffProgram, MAX_PATH - strlen(szPath) - 1);

    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(szPath, &found);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        FindClose(hFind);
        return szPath;
    }
    CString sMessage;
    sMessage.Format("%s 파일이 존재하지 않습니다.", s_szDiffProgram);
    AfxMessageBox(sMessage, MB_OK);
    return CString();
}

void CHShowHistoryDlg::DiffVersion(CString sFirstFile, CString sSecondFile)
{
    const CString sProgram = DiffProgramName();
    if (sProgram.IsEmpty())
        return;
    CString sParameters;
    sParameters.Format("\"%s\" \"%s\"", static_cast<LPCSTR>(sFirstFile),
                       static_cast<LPCSTR>(sSecondFile));
    ShellExecuteA(nullptr, "open", sProgram, sParameters, ".", SW_SHOWNORMAL);
}

// Removes a leftover temporary file, read-only or not; one that stays read-only is left.
void CHShowHistoryDlg::DelFile(CString sPath)
{
    if (_access(sPath, 0) != 0)
        return;
    if (_access(sPath, 2) != 0 && _chmod(sPath, _S_IREAD | _S_IWRITE) != 0)
        return;
    DeleteFileA(sPath);
}
