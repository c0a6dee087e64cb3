#include <windows.h>
#include <gtest/gtest.h>
#include "DirMng.h"
#include "WorkspaceFixture.h"

TEST(DirMng, CreatesEveryMissingFolderOfAPath)
{
    TempFolder folder;
    const std::string a = folder.PathOf("한글");

    EXPECT_EQ(1, DirMng::CreateDir(a + "\\화면\\C"));
    EXPECT_TRUE(IsFolder(a));
    EXPECT_TRUE(IsFolder(a + "\\화면\\C"));

    // Existing folders are left as they are.
    folder.Write("한글\\화면\\keep.txt", "kept");
    EXPECT_EQ(1, DirMng::CreateDir(a + "\\화면"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((a + "\\화면\\keep.txt").c_str()));

    EXPECT_EQ(1, DirMng::CreateDir(a + "\\C\\D\\"));
    EXPECT_TRUE(IsFolder(a + "\\C\\D"));

    // A file in the way and an unreachable path are quietly given up.
    folder.Write("file", "");
    EXPECT_EQ(1, DirMng::CreateDir(folder.PathOf("file\\E")));
    EXPECT_FALSE(IsFolder(folder.PathOf("file\\E")));
    EXPECT_EQ(1, DirMng::CreateDir("\\\\no-such-server\\share\\F"));
}
