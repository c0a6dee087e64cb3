#include <windows.h>
#include "AgentTestSupport.h"

namespace
{
std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

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
    // Every module beside the tests except HSDK.dll.
    TempFolder folder;
    std::string bin = ProgramFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((bin + "\\*.dll").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do
    {
        if (lstrcmpiA(found.cFileName, "HSDK.dll") != 0)
            CopyFileA((bin + "\\" + found.cFileName).c_str(),
                      (folder.Path() + "\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_TRUE(CopyFileA((bin + "\\agent_delayload_probe.exe").c_str(),
                          (folder.Path() + "\\agent_delayload_probe.exe").c_str(), FALSE));

    EXPECT_EQ(11u, RunProbe(folder.Path()));
    DeleteInstallKey();
    EXPECT_EQ(10u, RunProbe(folder.Path()));
    CreateInstallKey();
}
