#include <windows.h>

#include "DialogTesting.h"

#include <commctrl.h>

#include <HsdkTesting.h>

#include <algorithm>
#include <cstdlib>

#include "BrokerNames.h"
#include "CHNewSvrPath.h"
#include "VORAgent.h"

namespace dialog_testing
{
namespace
{
const char kTestRoot[] = "C:\\vor_dialogs_tests";

std::string TreeLabel(HWND tree, HTREEITEM item)
{
    char text[MAX_PATH] = {};
    TVITEMA data = {};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}
} // namespace

void PrepareAgent()
{
    // Nothing modal may wait for a person in a test.
    SetEnvironmentVariableA("VOR_NONINTERACTIVE", "1");
    _putenv("VOR_NONINTERACTIVE=1");

    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ComputerAssociates\\RTHOME", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);

    CreateDirectoryA((ProgramFolder() + "\\sys").c_str(), nullptr);
    const std::string ini = ProgramFolder() + "\\sys\\qxp_vor.ini";
    DeleteFileA(ini.c_str());
    const char* const entries[][3] = {
        {"Connection", "User", "dev1"},           {"Connection", "Password", "dev1pw"},
        {"Connection", "Broker", "elsewhere"},    {"Connection", "SavePW", "0"},
        {"Default Context", "Project", "QXP"},    {"Default Context", "State", "Development"},
        {"Default Context", "Package", "QXP-001"}};
    for (const auto& entry : entries)
        WritePrivateProfileStringA(entry[0], entry[1], entry[2], ini.c_str());
    VORAgent::IsInstallVOR();
}

void ForgetAgentConfiguration()
{
    DeleteFileA((ProgramFolder() + "\\sys\\qxp_vor.ini").c_str());
    RemoveTree(kTestRoot);
}

void LogInAsDev1()
{
    if (!VORAgent::IsLogIn())
        VORAgent::LogIn(VOR_DEFAULT_BROKER_1, "dev1", "dev1pw");
    VORAgent::SetProjectName("QXP");
    VORAgent::SetStateName("Development");
    VORAgent::SetPackageName("QXP-001");
}

INT_PTR RunModal(CDialog& dialog, const Drive& drive, const Drive& nested)
{
    bool driven = false;
    AfxSetModalHook(
        [&](CDialog* shown)
        {
            if (shown == &dialog && !driven)
            {
                driven = true;
                drive(dialog);
            }
            else if (shown != &dialog && nested)
                nested(*shown);
        });
    const INT_PTR result = dialog.DoModal();
    AfxSetModalHook(nullptr);
    return result;
}

Drive ChooseServerFolder(const std::string& viewPath)
{
    return [viewPath](CDialog& shown)
    {
        if (!shown.IsKindOf(RUNTIME_CLASS(CHNewSvrPath)))
            return;
        Settle();
        SelectTreeItem(Control(shown, IDC_VOR_STRUCT), viewPath);
        AfxClickDlgButton(&shown, IDOK);
    };
}

int CountRecordedCalls(const std::string& prefix, const std::string& text)
{
    const std::vector<std::string> calls = hsdk_testing::GetRecordedCalls();
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const std::string& call) {
                                              return call.rfind(prefix, 0) == 0 &&
                                                     call.find(text) != std::string::npos;
                                          }));
}

void Settle(DWORD milliseconds)
{
    AfxPumpMessages(milliseconds);
}

MessageBoxes::MessageBoxes()
{
    AfxSetMessageBoxHandler(
        [this](HWND, LPCSTR text, LPCSTR, UINT type)
        {
            m_seen.push_back({text ? text : "", type});
            return IDOK;
        });
}

MessageBoxes::~MessageBoxes()
{
    AfxSetMessageBoxHandler(nullptr);
}

std::vector<std::string> MessageBoxes::Texts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxSeen& box : m_seen)
        texts.push_back(box.text);
    return texts;
}

OutputLog::OutputLog()
{
    static const char kClass[] = "VorDialogTestsOutput";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    m_hwnd = CreateWindowA(kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    VORAgent::SetOutputHwnd(m_hwnd);
}

OutputLog::~OutputLog()
{
    VORAgent::SetOutputHwnd(nullptr);
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK OutputLog::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VOR_OUTPUT)
    {
        auto* log = reinterpret_cast<OutputLog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        log->m_lines.push_back(static_cast<LPCSTR>(VORAgent::GetLatestMsg()));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int OutputLog::Count(const std::string& text) const
{
    return static_cast<int>(std::count_if(m_lines.begin(), m_lines.end(),
                                          [&](const std::string& line)
                                          { return line.find(text) != std::string::npos; }));
}

bool OutputLog::Frames(const std::string& command) const
{
    const std::string start = "---- [" + command + "] ";
    return m_lines.size() >= 2 && m_lines.front().rfind(start + "started", 0) == 0 &&
           m_lines.back().rfind(start + "ended", 0) == 0;
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND Control(CDialog& dialog, int id)
{
    return GetDlgItem(dialog.m_hWnd, id);
}

std::string Text(CDialog& dialog, int id)
{
    return WindowText(Control(dialog, id));
}

void Type(CDialog& dialog, int id, const char* text)
{
    SetWindowTextA(Control(dialog, id), text);
}

bool IsChecked(CDialog& dialog, int id)
{
    return SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(CDialog& dialog, int id)
{
    return IsWindowEnabled(Control(dialog, id)) != FALSE;
}

std::vector<std::string> ComboEntries(CDialog& dialog, int id)
{
    HWND combo = Control(dialog, id);
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char text[MAX_PATH] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::string ComboSelection(CDialog& dialog, int id)
{
    const LRESULT selection = SendMessageA(Control(dialog, id), CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? std::string() : ComboEntries(dialog, id)[selection];
}

void ChooseComboEntry(CDialog& dialog, int id, const char* text)
{
    HWND combo = Control(dialog, id);
    const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text));
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

std::vector<std::string> TreeChildren(HWND tree, HTREEITEM parent)
{
    std::vector<std::string> labels;
    HTREEITEM child = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree);
    for (; child; child = TreeView_GetNextSibling(tree, child))
        labels.push_back(TreeLabel(tree, child));
    return labels;
}

HTREEITEM FindTreeItem(HWND tree, const std::string& viewPath)
{
    HTREEITEM found = nullptr;
    size_t start = 1;
    while (start <= viewPath.size())
    {
        const size_t end = viewPath.find('\\', start);
        const std::string label = viewPath.substr(start, end - start);
        HTREEITEM child = found ? TreeView_GetChild(tree, found) : TreeView_GetRoot(tree);
        while (child && TreeLabel(tree, child) != label)
            child = TreeView_GetNextSibling(tree, child);
        if (!child)
            return nullptr;
        found = child;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return found;
}

void SelectTreeItem(HWND tree, const std::string& viewPath)
{
    TreeView_SelectItem(tree, FindTreeItem(tree, viewPath));
}

std::string SelectedTreePath(HWND tree)
{
    std::string path;
    for (HTREEITEM item = TreeView_GetSelection(tree); item; item = TreeView_GetParent(tree, item))
        path = "\\" + TreeLabel(tree, item) + path;
    return path;
}

bool IsExpanded(HWND tree, HTREEITEM item)
{
    return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

std::vector<std::string> ListColumn(HWND list, int column)
{
    std::vector<std::string> texts;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row)
    {
        char text[MAX_PATH] = {};
        ListView_GetItemText(list, row, column, text, MAX_PATH);
        texts.push_back(text);
    }
    return texts;
}

int RowNamed(HWND list, const std::string& name)
{
    const std::vector<std::string> names = ListColumn(list, 0);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

void SelectRows(HWND list, const std::vector<int>& rows)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows)
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
}

int StateImage(HWND list, int row)
{
    return static_cast<int>(ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) >> 12);
}

void ClickListHeader(HWND list, int column)
{
    HWND header = ListView_GetHeader(list);
    RECT rect = {};
    Header_GetItemRect(header, column, &rect);
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
}

namespace
{
std::vector<int> g_progressPositions;
WNDPROC g_progressProc = nullptr;

LRESULT CALLBACK RecordProgress(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS)
        g_progressPositions.push_back(static_cast<int>(wParam));
    return CallWindowProcA(g_progressProc, hwnd, message, wParam, lParam);
}
} // namespace

std::vector<int> ConfirmRecordingProgress(CDialog& dialog, int progressId)
{
    HWND progress = Control(dialog, progressId);
    g_progressPositions.clear();
    g_progressProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordProgress)));
    AfxClickDlgButton(&dialog, IDOK);
    if (IsWindow(progress))
        SetWindowLongPtrA(progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_progressProc));
    return g_progressPositions;
}

std::string FreshFolder(const std::string& name, const std::string& viewPath)
{
    CreateDirectoryA(kTestRoot, nullptr);
    const std::string folder = std::string(kTestRoot) + "\\" + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!viewPath.empty())
        WritePrivateProfileStringA("HarvestCM", "Server_Path", viewPath.c_str(),
                                   (folder + "\\harvest.vor").c_str());
    return folder;
}

std::string MarkerViewPath(const std::string& folder)
{
    char text[MAX_PATH] = {};
    GetPrivateProfileStringA("HarvestCM", "Server_Path", "", text, MAX_PATH,
                             (folder + "\\harvest.vor").c_str());
    return text;
}

std::string StatusOf(const char* name, const char* viewPath)
{
    HItemState state;
    return VORAgent::GetLatestVerInfo(name, viewPath, &state) ? static_cast<LPCSTR>(state.m_sStatus)
                                                              : std::string();
}

DiffProgramStandIn::DiffProgramStandIn(Kind kind)
{
    const std::string tools = ProgramFolder() + "\\tools";
    CreateDirectoryA(tools.c_str(), nullptr);
    m_program = tools + "\\WinDiff.Exe";
    m_kept = tools + "\\WinDiff.Exe.kept";
    m_arguments = tools + "\\WinDiff.args";
    // A run that died with a stand-in in place left the real program aside.
    if (GetFileAttributesA(m_kept.c_str()) != INVALID_FILE_ATTRIBUTES)
        MoveFileExA(m_kept.c_str(), m_program.c_str(), MOVEFILE_REPLACE_EXISTING);
    MoveFileA(m_program.c_str(), m_kept.c_str());
    DeleteFileA(m_arguments.c_str());
    if (kind == Recorder)
        CopyFileA((ProgramFolder() + "\\diff_recorder.exe").c_str(), m_program.c_str(), FALSE);
}

DiffProgramStandIn::~DiffProgramStandIn()
{
    DeleteFileA(m_program.c_str());
    DeleteFileA(m_arguments.c_str());
    MoveFileA(m_kept.c_str(), m_program.c_str());
}

std::string DiffProgramStandIn::Arguments() const
{
    for (int wait = 0; wait < 100 && ReadFile(m_arguments).empty(); ++wait)
        Sleep(100);
    return ReadFile(m_arguments);
}
} // namespace dialog_testing
