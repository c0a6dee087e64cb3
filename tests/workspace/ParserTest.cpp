#include <windows.h>
#include <gtest/gtest.h>
#include "DirMng.h"
#include "WorkspaceFixture.h"

namespace
{
using Paths = std::vector<std::string>;

Paths ProjectDirs(const std::string& document)
{
    TempFolder folder;
    Paths dirs;
    DirMng::GetProjDirs(folder.Write("솔루션.sln", document), dirs);
    return dirs;
}
} // namespace

TEST(CSolutionParser, GivesTheFolderOfEachProjectAtEveryInnerEndTag)
{
    EXPECT_EQ((Paths{"\\A", "\\B\\Sub", "\\", "\\..\\Up", "\\한글"}), ProjectDirs(u8R"(<Solution>
  <Project RelativePath="A\one.prj"></Project>
  <Project RelativePath="B\Sub\two.prj"></Project>
  <Project RelativePath="three.prj"></Project>
  <Project RelativePath="..\Up\four.prj"></Project>
  <Project RelativePath="한글\다섯.prj"></Project>
</Solution>)"));

    // Names reach the ANSI code page from UTF-16 as from UTF-8.
    EXPECT_EQ((Paths{"\\한글\\화면"}),
              ProjectDirs(Utf16Document(
                  u8R"(<?xml version="1.0" encoding="utf-16"?><Solution>)"
                  u8R"(<Project RelativePath="한글\화면\a.prj"></Project></Solution>)")));

    // Names are matched as prefixes, case-sensitively.
    EXPECT_EQ((Paths{"", "\\X"}), ProjectDirs(R"(<SolutionItems>
  <project RelativePath="Y\y.prj"></project>
  <ProjectEntry Name="p" RelativePathX="X\x.prj"></ProjectEntry>
</SolutionItems>)"));

    // Empty-element entries have no end tag of their own: only a wrapping element's counts.
    EXPECT_EQ(Paths{}, ProjectDirs(R"(<Solution>
  <Project RelativePath="A\one.prj"/>
  <Project RelativePath="B\two.prj"/>
</Solution>)"));
    EXPECT_EQ((Paths{"\\B"}), ProjectDirs(R"(<Solution><Projects>
  <Project RelativePath="A\one.prj"/>
  <Project RelativePath="B\two.prj"/>
</Projects></Solution>)"));

    // Any inner end tag counts, before the first path too; an entry without a path repeats
    // the previous one; attributes of the top element are not entries.
    EXPECT_EQ((Paths{"", "\\A", "\\A", "\\A"}), ProjectDirs(R"(<Solution RelativePath="T\top.prj">
  <Folder></Folder>
  <Project RelativePath="A\one.prj"></Project>
  <Project Name="no path"></Project>
  <Folder Relative="B\x"></Folder>
</Solution>)"));
}

TEST(CProjectParser, AppendsEachFilePathUnchanged)
{
    TempFolder folder;
    const std::string project = folder.Write("p.prj", u8R"(<Project Name="p">
  <Files>
    <File RelativePath=".\Screens\main.xml"></File>
    <File RelativePath="..\Shared\common.qxs"></File>
    <FileRef RelativePath="file.xcml"></FileRef>
    <File RelativePath="화면\한글.xml"/>
  </Files>
</Project>)");
    Paths files{"kept"};
    DirMng::GetFilesInProj(project, files);
    EXPECT_EQ((Paths{"kept", ".\\Screens\\main.xml", "..\\Shared\\common.qxs", "file.xcml",
                     "화면\\한글.xml"}),
              files);

    // A file that cannot be read leaves the list as it was.
    DirMng::GetFilesInProj(folder.PathOf("missing.prj"), files);
    DirMng::GetProjDirs(folder.PathOf("missing.sln"), files);
    EXPECT_EQ(5u, files.size());
}
