#include <windows.h>

#include <gtest/gtest.h>
#include <string>

namespace
{
std::string ExeFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// The probe and the GCC runtime, without HSDK.dll.
std::string CopyWithoutHsdk()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string target =
        std::string(temp) + "hsdk-delay-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(target.c_str(), nullptr);
    const std::string source = ExeFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((source + "\\lib*.dll").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
            CopyFileA((source + "\\" + found.cFileName).c_str(),
                      (target + "\\" + found.cFileName).c_str(), FALSE);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    CopyFileA((source + "\\hsdk_delay_probe.dll").c_str(),
              (target + "\\hsdk_delay_probe.dll").c_str(), FALSE);
    return target;
}

template <typename Function> Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

TEST(HsdkDelayLoadTest, ModuleLoadsWithoutHsdkAndBindsItOnTheFirstCall)
{
    const std::string alone = CopyWithoutHsdk();
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((alone + "\\HSDK.dll").c_str()));
    SetCurrentDirectoryA(alone.c_str());
    HMODULE probe = LoadLibraryExA((alone + "\\hsdk_delay_probe.dll").c_str(), nullptr,
                                   LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(nullptr, probe) << "error " << GetLastError();
    EXPECT_EQ(1, Export<int (*)()>(probe, "ProbeLoaded")());
    EXPECT_EQ(nullptr, GetModuleHandleA("HSDK.dll"));
    FreeLibrary(probe);

    probe = LoadLibraryExA((ExeFolder() + "\\hsdk_delay_probe.dll").c_str(), nullptr,
                           LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ(nullptr, GetModuleHandleA("HSDK.dll")) << "bound only on first use";
    EXPECT_EQ(2, Export<int (*)()>(probe, "ProbeUseSdk")());
    EXPECT_NE(nullptr, GetModuleHandleA("HSDK.dll"));
}
