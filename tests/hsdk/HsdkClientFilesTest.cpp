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
         {"..\\escaped.txt", "sub\\..\\..\\escaped.txt", "../escaped.txt", "\\escaped.txt",
          "/escaped.txt", "C:\\escaped.txt", "C:escaped.txt", "\\\\server\\share\\escaped.txt",
          "a\\.\\b.txt", ".", "sub\\", "", "escaped.txt:stream", "... \\escaped.txt", "NUL",
          "con.txt", "lpt1\\x.txt", "a\\b?.txt"})
    {
        const nlohmann::json done = files.WriteCheckoutFile(File(path, false, true, true), "bytes");
        EXPECT_FALSE(done.value("written", true)) << path;
        EXPECT_EQ("failed", done.value("reason", "")) << path;
    }
    EXPECT_FALSE(Exists(parent + "\\escaped.txt"));
    EXPECT_FALSE(Exists("C:\\escaped.txt"));
    EXPECT_TRUE(HsdkClientFiles::IsSafeRelativePath(L"화면\\종합화면.xml"));
    EXPECT_TRUE(HsdkClientFiles::IsSafeRelativePath(L"Proj1/Screens/Main.xml"));
}

TEST(HsdkClientFilesTest, FollowsTheReplaceFolderAndReadOnlyFlags)
{
    const std::string client = HsdkFixture::NewFolder();
    const HsdkClientFiles files(client.c_str());
    EXPECT_EQ(
        "failed",
        files.WriteCheckoutFile(File("sub\\a.txt", true, true, false), "one").value("reason", ""))
        << "no folders without createDirs";
    EXPECT_TRUE(files.WriteCheckoutFile(File("sub\\deeper\\a.txt", true, true, true), "one")
                    .value("written", false));
    const std::string local = client + "\\sub\\deeper\\a.txt";
    EXPECT_TRUE(GetFileAttributesA(local.c_str()) & FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ("identical",
              files.WriteCheckoutFile(File("sub\\deeper\\a.txt", true, true, true), "one")
                  .value("reason", ""));
    EXPECT_EQ("exists",
              files.WriteCheckoutFile(File("sub\\deeper\\a.txt", true, false, true), "two")
                  .value("reason", ""));
    EXPECT_TRUE(files.WriteCheckoutFile(File("sub\\deeper\\a.txt", false, true, true), "two")
                    .value("written", false))
        << "replaces a read-only file";
    EXPECT_FALSE(GetFileAttributesA(local.c_str()) & FILE_ATTRIBUTE_READONLY);

    std::string bytes, error;
    ASSERT_TRUE(files.Read("sub\\deeper\\a.txt", bytes, error));
    EXPECT_EQ("two", bytes);
    EXPECT_FALSE(files.Read("missing.txt", bytes, error));
    EXPECT_FALSE(error.empty());
}
