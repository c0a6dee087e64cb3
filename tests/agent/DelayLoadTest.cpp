#include <windows.h>
#include "AgentTestSupport.h"

namespace
{
DWORD RunProbe(const std::string& folder)
{
    std::string command = "\"" + folder + "\\agent_delayload_probe.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return GetLastError() + 1000;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}
} // namespace

TEST(DelayLoadTest, LibraryLoadsAndAnswersWithoutTheSdk)
{
    TempFolder folder;
    CopyModules(folder.Path(), "HSDK.dll");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\agent_delayload_probe.exe").c_str(),
                          (folder.Path() + "\\agent_delayload_probe.exe").c_str(), FALSE));
    EXPECT_EQ(11u, RunProbe(folder.Path()));
    SetClientInstalled(false);
    EXPECT_EQ(10u, RunProbe(folder.Path()));
    SetClientInstalled(true);
}
