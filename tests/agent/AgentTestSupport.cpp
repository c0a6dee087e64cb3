#include <windows.h>
#include "AgentTestSupport.h"

#include <commctrl.h>
#include <shellapi.h>

#include "BrokerNames.h"

namespace
{
const char* const installKey = "SOFTWARE\\ComputerAssociates\\RTHOME";

// Every process starts with the client installed and without a configuration file; the tests
// of a first start without the client remove the key themselves.
class AgentEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        CreateInstallKey();
        RemoveConfig();
    }
    void TearDown() override
    {
        VORAgent::LogOut();
        RemoveConfig();
        DeleteInstallKey();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new AgentEnvironment);

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                RemoveTree(child);
            }
            else
            {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}
} // namespace

OutputWindow::OutputWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VorAgentTestOutput";
    RegisterClassA(&windowClass);
    m_hwnd = CreateWindowExA(0, "VorAgentTestOutput", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

OutputWindow::~OutputWindow()
{
    if (VORAgent::GetOutputHwnd() == m_hwnd)
        VORAgent::SetOutputHwnd(nullptr);
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK OutputWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == WM_VOR_OUTPUT)
    {
        auto* self = reinterpret_cast<OutputWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        EXPECT_EQ(0u, wParam);
        self->lines.push_back({Str(VORAgent::GetLatestMsg()), lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

MessageBoxRecorder::MessageBoxRecorder()
{
    AfxSetMessageBoxHandler([this](HWND, LPCSTR text, LPCSTR, UINT type) {
        boxes.push_back({text, type});
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    AfxSetMessageBoxHandler(nullptr);
}

void CreateInstallKey()
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
}

void DeleteInstallKey()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, installKey);
}

std::string ConfigFile()
{
    return ProgramFolder() + "\\sys\\qxp_vor.ini";
}

void WriteConfig(const std::vector<std::string>& entries)
{
    CreateDirectoryA((ProgramFolder() + "\\sys").c_str(), nullptr);
    std::string text;
    std::string section;
    for (const std::string& entry : entries)
    {
        std::string::size_type bar = entry.find('|');
        std::string entrySection = entry.substr(0, bar);
        if (entrySection != section)
            text += "[" + entrySection + "]\r\n";
        section = entrySection;
        if (entry.find('=') != std::string::npos)
            text += entry.substr(bar + 1) + "\r\n";
    }
    WriteFile(ConfigFile(), text);
}

std::string ReadConfig(const char* section, const char* key)
{
    char value[300];
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof(value), ConfigFile().c_str());
    return value;
}

void RemoveConfig()
{
    DeleteFileA(ConfigFile().c_str());
    RemoveDirectoryA((ProgramFolder() + "\\sys").c_str());
}

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    char name[64];
    wsprintfA(name, "vor-agent-%lu-%d", GetCurrentProcessId(), ++serial);
    m_path = std::string(temp) + name;
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

std::string TempFolder::Make(const std::string& relative) const
{
    std::string path = m_path;
    std::string::size_type start = 0;
    while (start <= relative.size())
    {
        std::string::size_type end = relative.find('\\', start);
        if (end == std::string::npos)
            end = relative.size();
        path += "\\" + relative.substr(start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::string ReadFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool IsReadOnly(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteMarker(const std::string& folder, const std::string& viewPath)
{
    WriteFile(folder + "\\harvest.vor", "[HarvestCM]\r\nServer_Path=" + viewPath + "\r\n");
}

std::string MarkerOf(const std::string& folder)
{
    return ReadFile(folder + "\\harvest.vor");
}

std::string JsonText(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

void Admin(const std::string& json)
{
    std::string reply = hsdk_testing::Admin(json.c_str());
    ASSERT_NE(std::string::npos, reply.find("\"ok\":true")) << json << " -> " << reply;
}

std::vector<std::string> CallsTo(const std::string& prefix)
{
    std::vector<std::string> calls;
    for (const std::string& call : hsdk_testing::GetRecordedCalls())
        if (call.compare(0, prefix.size(), prefix) == 0)
            calls.push_back(call);
    return calls;
}

std::string Str(const CString& text)
{
    return static_cast<const char*>(text);
}

void RepositoryTest::SetUp()
{
    ASSERT_EQ(1, VORAgent::IsInstallVOR());
    VORAgent::SetProjectName("QXP");
    VORAgent::SetStateName("Development");
    VORAgent::SetPackageName("QXP-001");
    ASSERT_EQ(1, VORAgent::LogIn(VOR_DEFAULT_BROKER_1, "dev1", "dev1pw"));
    VORAgent::SetOutputHwnd(output.Handle());
    hsdk_testing::ClearFailures();
    hsdk_testing::ClearRecordedCalls();
    hsdk_testing::StartRecording();
}

void RepositoryTest::TearDown()
{
    hsdk_testing::StopRecording();
    hsdk_testing::ClearFailures();
    VORAgent::GetChangedFiles()->RemoveAll();
}
