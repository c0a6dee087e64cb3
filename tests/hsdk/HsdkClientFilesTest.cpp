#include <windows.h>

#include <gtest/gtest.h>

#include "HsdkClientFiles.h"
#include "HsdkFixture.h"

namespace
{
nlohmann::json File(const char* path, bool readOnly, bool replace, bool createDirs)
{
    return {{"event", "file"},    {"path", path},          {"readOnly", readOnly},
            {"replace", replace}, {"skipIdentical", true}, {"createDirs", createDirs}};
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

TEST(HsdkClientFilesTest, NeverWritesOutsideTheClientFolder)
{
    const std::string parent = HsdkFixture::NewFolder();
    const std::string client = parent + "\\client";
    CreateDirectoryA(client.c_str(), nullptr);
    const HsdkClientFiles files(client.c_str());
    for (const char* path :
         {"sub\\..\\..\\escaped.txt", "../escaped.txt", "/escaped.txt", "C:escaped.txt",
          "\\\\server\\share\\escaped.txt", "a\\.\\b.txt", "sub\\", "", "escaped.txt:stream",
          "... \\escaped.txt", "con.txt", "a\\b?.txt"})
    {
        const nlohmann::json done = files.WriteCheckoutFile(File(path, false, true, true), "bytes");
        EXPECT_FALSE(done.value("written", true)) << path;
        EXPECT_EQ("failed", done.value("reason", "")) << path;
    }
    EXPECT_FALSE(Exists(parent + "\\escaped.txt"));
    EXPECT_FALSE(Exists("C:\\escaped.txt"));
    EXPECT_TRUE(HsdkClientFiles::IsSafeRelativePath(L"화면/종합화면.xml"));
}

TEST(HsdkClientFilesTest, FollowsTheReplaceFolderAndReadOnlyFlags)
{
    const std::string client = HsdkFixture::NewFolder();
    const HsdkClientFiles files(client.c_str());
    auto reason = [&](bool readOnly, bool replace, bool createDirs, const char* bytes)
    {
        const nlohmann::json file = File("sub\\deeper\\a.txt", readOnly, replace, createDirs);
        const nlohmann::json done = files.WriteCheckoutFile(file, bytes);
        return done.value("written", false) ? "written" : done.value("reason", "");
    };
    EXPECT_EQ("failed", reason(true, true, false, "one")) << "no folders without createDirs";
    EXPECT_EQ("written", reason(true, true, true, "one"));
    const std::string local = client + "\\sub\\deeper\\a.txt";
    EXPECT_TRUE(GetFileAttributesA(local.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("identical", reason(true, true, true, "one"));
    EXPECT_EQ("exists", reason(true, false, true, "two"));
    EXPECT_EQ("written", reason(false, true, true, "two")) << "replaces a read-only file";
    EXPECT_FALSE(GetFileAttributesA(local.c_str()) & FILE_ATTRIBUTE_READONLY);

    std::string bytes, error;
    ASSERT_TRUE(files.Read("sub\\deeper\\a.txt", bytes, error));
    EXPECT_EQ("two", bytes);
    EXPECT_FALSE(files.Read("missing.txt", bytes, error));
}
