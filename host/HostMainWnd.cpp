#include <windows.h>

#include "HostMainWnd.h"

#include <afxdlgs.h>

#include <CHAddFileDlg.h>
#include <CHCheckInDlg.h>
#include <CHCheckOutDlg.h>
#include <CHCompScreenDlg.h>
#include <CHDefaultContext.h>
#include <CHLogInDlg.h>
#include <CHRepositoryDlg.h>
#include <CHShowHistoryDlg.h>
#include <XTBrowseDialog.h>
#include <VORAgent.h>

#include "HostResource.h"

namespace
{
const int statusHeight = 24;

// Commands that need the repository client; all but log-in also need a login.
const UINT repositoryCommands[] = {
    ID_VOR_DEFAULT_CONTEXT, ID_VOR_REPOSITORY,   ID_VOR_CHECK_OUT,   ID_VOR_CHECK_IN,
    ID_VOR_UNDO_CHECK_OUT,  ID_VOR_ADD_FILE,     ID_VOR_COMP_SCREEN, ID_VOR_HISTORY,
    ID_VOR_FOLDER_STATE,    ID_VOR_CHANGED_FILES};

CString JoinNames(const std::vector<CString>& names)
{
    CString joined;
    for (const CString& name : names)
        joined += (joined.IsEmpty() ? "" : ", ") + name;
    return joined;
}

CiFile MakeCiFile(const CString& name, int bNew)
{
    CiFile file;
    file.m_sFileName = name;
    file.m_bNew = bNew;
    return file;
}
} // namespace

BEGIN_MESSAGE_MAP(CHostMainWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_FILE_WORKING_FOLDER, &CHostMainWnd::OnWorkingFolder)
    ON_COMMAND(ID_FILE_CLEAR_OUTPUT, &CHostMainWnd::OnClearOutput)
    ON_COMMAND(ID_FILE_EXIT, &CHostMainWnd::OnExit)
    ON_COMMAND(ID_VOR_LOGIN, &CHostMainWnd::OnLogIn)
    ON_COMMAND(ID_VOR_DEFAULT_CONTEXT, &CHostMainWnd::OnDefaultContext)
    ON_COMMAND(ID_VOR_REPOSITORY, &CHostMainWnd::OnRepository)
    ON_COMMAND(ID_VOR_CHECK_OUT, &CHostMainWnd::OnCheckOut)
    ON_COMMAND(ID_VOR_CHECK_IN, &CHostMainWnd::OnCheckIn)
    ON_COMMAND(ID_VOR_UNDO_CHECK_OUT, &CHostMainWnd::OnUndoCheckOut)
    ON_COMMAND(ID_VOR_ADD_FILE, &CHostMainWnd::OnAddFile)
    ON_COMMAND(ID_VOR_COMP_SCREEN, &CHostMainWnd::OnCompScreen)
    ON_COMMAND(ID_VOR_HISTORY, &CHostMainWnd::OnHistory)
    ON_COMMAND(ID_VOR_FOLDER_STATE, &CHostMainWnd::OnFolderState)
    ON_COMMAND(ID_VOR_CHANGED_FILES, &CHostMainWnd::OnChangedFiles)
END_MESSAGE_MAP()

CHostMainWnd::CHostMainWnd() : m_bInstalled(FALSE) {}

CHostMainWnd::~CHostMainWnd() {}

BOOL CHostMainWnd::Create()
{
    HMENU menu = ::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_HOST_MENU));
    if (!CreateEx(0, NULL, "VOR 호스트", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, 900, 560, NULL, menu))
        return FALSE;
    m_wndStatus.CreateEx(0, "STATIC", "",
                         WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0, 0, 0, 0,
                         m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_STATUS)));
    m_wndStatus.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    if (!m_wndOutput.Create(this, IDC_OUTPUT))
        return FALSE;
    RECT client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
    UpdateCommands();
    UpdateStatus();
    return TRUE;
}

void CHostMainWnd::StartUp()
{
    m_bInstalled = VORAgent::IsInstallVOR();
    if (!m_bInstalled)
    {
        m_wndOutput.AddNote("하비스트 클라이언트가 설치되어 있지 않습니다 (레지스트리 키 "
                            "HKLM\\SOFTWARE\\ComputerAssociates\\RTHOME 없음). 저장소 명령을 쓸 수 "
                            "없습니다.");
        UpdateCommands();
        return;
    }
    VORAgent::Connect();
    if (!VORAgent::IsLogIn())
        ShowLogInDialog();
    VORAgent::SetOutputHwnd(m_wndOutput.GetSafeHwnd());
    if (!m_folder.IsChosen() && !VORAgent::GetClientDirectory().IsEmpty())
        m_folder.SetPath(VORAgent::GetClientDirectory());
    m_wndOutput.AddNote(VORAgent::IsLogIn()
                            ? "하비스트에 연결되었습니다."
                            : "로그인하지 않았습니다: 하비스트 메뉴의 로그인으로 연결하십시오.");
    UpdateCommands();
    UpdateStatus();
}

void CHostMainWnd::OnSize(UINT, int cx, int cy)
{
    if (m_wndStatus.GetSafeHwnd() != NULL)
        m_wndStatus.MoveWindow(6, 0, cx - 12, statusHeight);
    if (m_wndOutput.GetSafeHwnd() != NULL)
        m_wndOutput.MoveWindow(0, statusHeight, cx, cy - statusHeight);
}

void CHostMainWnd::OnClose()
{
    // Logging out saves the configuration; without the client it was never read, and saving
    // would overwrite it with empty settings.
    if (m_bInstalled)
        VORAgent::LogOut();
    VORAgent::SetOutputHwnd(NULL);
    DestroyWindow();
}

void CHostMainWnd::OnDestroy()
{
    AfxPostQuitMessage(0);
}

void CHostMainWnd::OnWorkingFolder()
{
    CXTBrowseDialog dlg(this);
    dlg.SetTitle("작업 폴더를 선택하십시오");
    dlg.SetSelPath(m_folder.IsChosen() ? m_folder.GetPath() : VORAgent::GetClientDirectory());
    if (dlg.DoModal() != IDOK)
        return;
    m_folder.SetPath(dlg.GetSelPath());
    if (m_folder.IsMapped())
        m_wndOutput.AddNote("작업 폴더: " + m_folder.GetPath() + " (" +
                            VORAgent::GetViewPathVOR(m_folder.GetPath()) + ")");
    else
        NoteUnmapped(m_folder.GetPath());
    UpdateStatus();
}

void CHostMainWnd::OnClearOutput()
{
    m_wndOutput.Clear();
}

void CHostMainWnd::OnExit()
{
    SendMessage(WM_CLOSE);
}

void CHostMainWnd::OnLogIn()
{
    ShowLogInDialog();
    UpdateCommands();
    UpdateStatus();
}

void CHostMainWnd::ShowLogInDialog()
{
    CHLogInDlg dlg(this);
    if (dlg.DoModal() == IDOK)
        m_wndOutput.AddNote("로그인: " + VORAgent::GetUserNameA() + " @ " +
                            VORAgent::GetBrokerName());
}

void CHostMainWnd::OnDefaultContext()
{
    CHDefaultContext dlg(this);
    if (dlg.DoModal() == IDOK && dlg.IsChangedProp())
        m_wndOutput.AddNote("기본 환경: " + VORAgent::GetProjectName() + " / " +
                            VORAgent::GetStateName() + " / " + VORAgent::GetPackageName());
    UpdateStatus();
}

void CHostMainWnd::OnRepository()
{
    CHRepositoryDlg dlg(this);
    dlg.DoModal();
    // The dialog keeps its root folder as the client directory; a first-time user works there.
    if (!m_folder.IsChosen() && !VORAgent::GetClientDirectory().IsEmpty())
        m_folder.SetPath(VORAgent::GetClientDirectory());
    UpdateStatus();
}

void CHostMainWnd::OnCheckOut()
{
    CWorkingFolder::Split split;
    if (!ReadFolderState(split))
        return;
    RunCheckOutDialog(1, split.free, "체크아웃한 파일");
}

void CHostMainWnd::OnUndoCheckOut()
{
    CWorkingFolder::Split split;
    if (!ReadFolderState(split))
        return;
    RunCheckOutDialog(2, split.checkedOutHere, "체크아웃을 취소한 파일");
}

void CHostMainWnd::RunCheckOutDialog(int nDlgType, std::vector<CString>& files, LPCSTR lpszDone)
{
    if (files.empty())
    {
        m_wndOutput.AddNote("작업 폴더에 해당하는 파일이 없습니다.");
        return;
    }
    CHCheckOutDlg dlg(this);
    dlg.SetDlgType(nDlgType);
    dlg.SetCollFiles(&files, m_folder.GetPath());
    if (dlg.DoModal() == IDOK)
        NoteFiles(lpszDone, files);
}

void CHostMainWnd::OnCheckIn()
{
    if (!EnsureWorkingFolder())
        return;
    std::vector<CiFile> files;
    CWorkingFolder::Split split;
    BOOL bMapped = m_folder.IsMapped();
    if (!m_folder.ReadState(split))
        split.newFiles = m_folder.GetLocalFiles();
    for (const CString& name : split.checkedOutHere)
        files.push_back(MakeCiFile(name, 0));
    for (const CString& name : split.newFiles)
        files.push_back(MakeCiFile(name, 1));
    if (files.empty())
    {
        m_wndOutput.AddNote("체크인할 파일이 없습니다 (체크아웃한 파일도 새 파일도 없음).");
        return;
    }
    CHCheckInDlg dlg(this);
    // A folder that mirrors nothing yet needs the user to name its repository folder.
    dlg.m_bSetHarvestRoot = !bMapped;
    dlg.SetRootPath(m_folder.GetPath());
    dlg.SetCollFiles(&files, m_folder.GetPath());
    if (dlg.DoModal() != IDOK)
        return;
    std::vector<CString> names;
    for (const CiFile& file : files)
        names.push_back(file.m_sFileName);
    NoteFiles("체크인한 파일", names);
}

void CHostMainWnd::OnAddFile()
{
    CHAddFileDlg dlg(this);
    dlg.DoModal();
}

void CHostMainWnd::OnCompScreen()
{
    CHCompScreenDlg dlg(this);
    dlg.DoModal();
    if (!dlg.IsRequiredOpenFiles())
        return;
    const CStringArray* files = dlg.GetRequiredOpenFiles();
    for (INT_PTR i = 0; i < files->GetSize(); ++i)
        m_wndOutput.AddNote("열 파일: " + files->GetAt(i));
}

void CHostMainWnd::OnHistory()
{
    if (!EnsureWorkingFolder())
        return;
    CFileDialog fileDlg(TRUE, NULL, NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                        "모든 파일 (*.*)|*.*||", this);
    fileDlg.m_ofn.lpstrInitialDir = m_folder.GetPath();
    fileDlg.m_ofn.lpstrTitle = "이력을 볼 파일";
    if (fileDlg.DoModal() != IDOK)
        return;
    CString folder = fileDlg.GetFolderPath();
    // The dialog would only show an empty list.
    if (VORAgent::GetViewPathVOR(folder).IsEmpty())
    {
        NoteUnmapped(folder);
        return;
    }
    CHShowHistoryDlg dlg(this);
    dlg.m_sFileName = fileDlg.GetFileName();
    dlg.m_sLocalDir = folder;
    dlg.DoModal();
}

void CHostMainWnd::OnFolderState()
{
    CWorkingFolder::Split split;
    if (!ReadFolderState(split))
        return;
    m_wndOutput.AddNote("작업 폴더 상태: " + m_folder.GetPath());
    NoteFiles("  체크아웃 가능", split.free);
    NoteFiles("  다른 곳에서 체크아웃됨", split.reservedElsewhere);
    NoteFiles("  이 폴더로 체크아웃함", split.checkedOutHere);
    NoteFiles("  저장소에 없는 새 파일", split.newFiles);
}

void CHostMainWnd::OnChangedFiles()
{
    // The agent only appends to this list; emptying it is the host's part.
    CStringArray* changed = VORAgent::GetChangedFiles();
    CString title;
    title.Format("가져온 화면 파일 %d개", static_cast<int>(changed->GetSize()));
    m_wndOutput.AddNote(title);
    for (INT_PTR i = 0; i < changed->GetSize(); ++i)
        m_wndOutput.AddNote("  " + changed->GetAt(i));
    changed->RemoveAll();
}

BOOL CHostMainWnd::ReadFolderState(CWorkingFolder::Split& split)
{
    if (!EnsureWorkingFolder())
        return FALSE;
    if (m_folder.ReadState(split))
        return TRUE;
    if (m_folder.IsMapped())
        m_wndOutput.AddNote("작업 폴더의 저장소 상태를 읽을 수 없습니다.");
    else
        NoteUnmapped(m_folder.GetPath());
    return FALSE;
}

BOOL CHostMainWnd::EnsureWorkingFolder()
{
    if (!m_folder.IsChosen())
        OnWorkingFolder();
    return m_folder.IsChosen();
}

void CHostMainWnd::NoteUnmapped(const CString& folder)
{
    m_wndOutput.AddNote(folder +
                        " 폴더는 저장소 폴더와 연결되어 있지 않습니다 (harvest.vor 없음).");
    m_wndOutput.AddNote("  하비스트 → 저장소에서 가져오기로 가져오면 루트 경로 아래에 저장소 "
                        "경로대로 폴더가 만들어지고, 그 안의 모든 폴더가 연결됩니다.");
}

void CHostMainWnd::NoteFiles(LPCSTR lpszTitle, const std::vector<CString>& files)
{
    CString line;
    line.Format("%s (%d): ", lpszTitle, static_cast<int>(files.size()));
    m_wndOutput.AddNote(line + JoinNames(files));
}

void CHostMainWnd::UpdateCommands()
{
    HMENU menu = ::GetMenu(m_hWnd);
    if (menu == NULL)
        return;
    BOOL bLoggedIn = m_bInstalled && VORAgent::IsLogIn();
    ::EnableMenuItem(menu, ID_VOR_LOGIN,
                     MF_BYCOMMAND | (m_bInstalled && !bLoggedIn ? MF_ENABLED : MF_GRAYED));
    for (UINT id : repositoryCommands)
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (bLoggedIn ? MF_ENABLED : MF_GRAYED));
    ::DrawMenuBar(m_hWnd);
}

void CHostMainWnd::UpdateStatus()
{
    CString status;
    if (!m_bInstalled)
        status = "하비스트 클라이언트 없음";
    else if (!VORAgent::IsLogIn())
        status = "로그인 안 됨";
    else
        status = VORAgent::GetUserNameA() + " @ " + VORAgent::GetBrokerName() + "   |   " +
                 VORAgent::GetProjectName() + " / " + VORAgent::GetStateName() + " / " +
                 VORAgent::GetPackageName();
    status += "   |   작업 폴더: " + (m_folder.IsChosen() ? m_folder.GetPath() : CString("(없음)"));
    m_wndStatus.SetWindowText(status);
}
