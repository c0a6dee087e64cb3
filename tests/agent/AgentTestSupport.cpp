#include <windows.h>
#include "AgentTestSupport.h"

#include <commctrl.h>

#include "BrokerNames.h"

namespace
{
std::string ConfigFile()
{
    return ProgramFolder() + "\\sys\\qxp_vor.ini";
}

// Every process starts with the client installed and without a configuration file; the tests
// of a first start without the client remove the key themselves.
class AgentEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                         ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        SetClientInstalled(true);
        RemoveConfig();
    }
    void TearDown() override
    {
        VORAgent::LogOut();
        RemoveConfig();
        SetClientInstalled(false);
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new AgentEnvironment);
} // namespace

HWND CreateControl(const char* className, DWORD style)
{
    return CreateWindowExA(0, className, "", WS_POPUP | style, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

OutputWindow::OutputWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VorAgentTestOutput";
    RegisterClassA(&windowClass);
    m_hwnd = CreateWindowExA(0, "VorAgentTestOutput", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

OutputWindow::~OutputWindow()
{
    if (VORAgent::GetOutputHwnd() == m_hwnd)
        VORAgent::SetOutputHwnd(nullptr);
    DestroyWindow(m_hwnd);
}

bool OutputWindow::Has(const std::string& text) const
{
    for (const OutputLine& line : lines)
        if (line.text == text)
            return true;
    return false;
}

LRESULT CALLBACK OutputWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<OutputWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message != WM_VOR_OUTPUT || self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    EXPECT_EQ(0u, wParam);
    self->lines.push_back({Str(VORAgent::GetLatestMsg()), lParam});
    return 0;
}

MessageBoxRecorder::MessageBoxRecorder()
{
    AfxSetMessageBoxHandler(
        [this](HWND, LPCSTR text, LPCSTR, UINT type)
        {
            boxes.push_back({text, type});
            return IDOK;
        });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    AfxSetMessageBoxHandler(nullptr);
}

// Every box of the agent is an error box; a mismatch shows as "(type N)" after its text.
std::vector<std::string> MessageBoxRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxCall& box : boxes)
        texts.push_back(box.type == MB_ICONERROR
                            ? box.text
                            : box.text + " (type " + std::to_string(box.type) + ")");
    return texts;
}

void WriteConfig(const std::string& text)
{
    CreateDirectoryA((ProgramFolder() + "\\sys").c_str(), nullptr);
    ASSERT_TRUE(WriteFile(ConfigFile(), text));
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

void WriteMarker(const std::string& folder, const std::string& viewPath)
{
    ASSERT_TRUE(
        WriteFile(folder + "\\harvest.vor", "[HarvestCM]\r\nServer_Path=" + viewPath + "\r\n"));
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

std::vector<std::string> Strs(const std::vector<CString>& texts)
{
    return std::vector<std::string>(texts.begin(), texts.end());
}

void RepositoryTest::SetUp()
{
    ASSERT_EQ(1, VORAgent::IsInstallVOR());
    VORAgent::SetProjectName("QXP");
    VORAgent::SetStateName("Development");
    VORAgent::SetPackageName("QXP-001");
    ASSERT_EQ(1, VORAgent::LogIn(VOR_DEFAULT_BROKER_1, "dev1", "dev1pw"));
    VORAgent::SetOutputHwnd(output.Handle());
    hsdk_testing::ClearScripts();
    hsdk_testing::ClearRecordedCalls();
    hsdk_testing::StartRecording();
}

void RepositoryTest::TearDown()
{
    hsdk_testing::StopRecording();
    EXPECT_EQ(std::vector<std::string>(), hsdk_testing::UnusedScripts()) << "scripts never used";
    hsdk_testing::ClearScripts();
    VORAgent::GetChangedFiles()->RemoveAll();
}
