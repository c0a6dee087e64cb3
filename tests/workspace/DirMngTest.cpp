#include <windows.h>
#include <gtest/gtest.h>
#include "DirMng.h"
#include "WorkspaceFixture.h"

TEST(DirMng, CreatesEveryMissingFolderOfAPath)
{
    TempFolder folder;
    const std::string a = folder.PathOf("A");

    EXPECT_EQ(1, DirMng::CreateDir(a + "\\B\\C"));
    EXPECT_TRUE(IsFolder(a));
    EXPECT_TRUE(IsFolder(a + "\\B"));
    EXPECT_TRUE(IsFolder(a + "\\B\\C"));

    // Existing folders are left as they are.
    folder.Write("A\\B\\keep.txt", "kept");
    EXPECT_EQ(1, DirMng::CreateDir(a + "\\B"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((a + "\\B\\keep.txt").c_str()));

    EXPECT_EQ(1, DirMng::CreateDir(a + "\\C\\D\\"));
    EXPECT_TRUE(IsFolder(a + "\\C\\D"));

    // A file in the way and an unreachable path are quietly given up.
    folder.Write("file", "");
    EXPECT_EQ(1, DirMng::CreateDir(folder.PathOf("file\\E")));
    EXPECT_FALSE(IsFolder(folder.PathOf("file\\E")));
    EXPECT_EQ(1, DirMng::CreateDir("\\\\no-such-server\\share\\F"));
}

TEST(DirMng, AppendsWhatSolutionsAndProjectsList)
{
    TempFolder folder;
    const std::string solution = folder.Write("s.sln", R"(<Solution>
  <Project RelativePath="A\one.prj"></Project>
  <Project RelativePath="B\Sub\two.prj"></Project>
</Solution>)");
    const std::string project = folder.Write("p.prj", R"(<Project><Files>
  <File RelativePath="..\x.xml"></File>
</Files></Project>)");

    std::vector<std::string> list{"kept"};
    DirMng::GetProjDirs(solution, list);
    EXPECT_EQ((std::vector<std::string>{"kept", "\\A", "\\B\\Sub"}), list);
    DirMng::GetFilesInProj(project, list);
    EXPECT_EQ((std::vector<std::string>{"kept", "\\A", "\\B\\Sub", "..\\x.xml", "..\\x.xml"}),
              list);

    DirMng::GetProjDirs(folder.PathOf("missing.sln"), list);
    DirMng::GetFilesInProj(folder.PathOf("missing.prj"), list);
    EXPECT_EQ(5u, list.size());
}

TEST(DirMng, WorksWithKoreanPaths)
{
    TempFolder folder;
    const std::string root = folder.PathOf("한글");
    // Wine maps Korean file names to Unix ones only when the ko_KR.UTF-8 locale is generated.
    if (!CreateDirectoryA(root.c_str(), nullptr))
        GTEST_SKIP() << "Korean file names are not available in this Wine";

    EXPECT_EQ(1, DirMng::CreateDir(root + "\\화면\\모음"));
    EXPECT_TRUE(IsFolder(root + "\\화면\\모음"));

    const std::string solution = folder.Write(
        "한글\\솔루션.sln",
        u8R"(<Solution><Project RelativePath="화면\모음\a.prj"></Project></Solution>)");
    std::vector<std::string> dirs;
    DirMng::GetProjDirs(solution, dirs);
    EXPECT_EQ(std::vector<std::string>{"\\화면\\모음"}, dirs);
}
