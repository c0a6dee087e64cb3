#include <windows.h>
#include <gtest/gtest.h>
#include "CProjectParser.h"
#include "CSolutionParser.h"
#include "WorkspaceFixture.h"

namespace
{
using Paths = std::vector<std::string>;

template <class Parser>
Paths Collect(const std::string& document, void (Parser::*collect)(Paths&) const)
{
    TempFolder folder;
    const std::string path = folder.Write("document.xml", document);
    Parser parser;
    EXPECT_EQ(S_OK, parser.Init());
    EXPECT_EQ(0u, parser.Parse(Wide(path).c_str()));
    Paths paths;
    (parser.*collect)(paths);
    return paths;
}

Paths ProjectDirs(const std::string& document)
{
    return Collect(document, &CSolutionParser::CollectProjDirs);
}

Paths ProjectFiles(const std::string& document)
{
    return Collect(document, &CProjectParser::CollectFiles);
}
} // namespace

TEST(CSolutionParser, GivesTheFolderOfEachEndTaggedProject)
{
    EXPECT_EQ((Paths{"\\A", "\\B\\Sub", "\\", "\\..\\Up", "\\한글"}), ProjectDirs(u8R"(<Solution>
  <Project RelativePath="A\one.prj"></Project>
  <Project RelativePath="B\Sub\two.prj"></Project>
  <Project RelativePath="three.prj"></Project>
  <Project RelativePath="..\Up\four.prj"></Project>
  <Project RelativePath="한글\다섯.prj"></Project>
</Solution>)"));

    // Names are matched as prefixes, case-sensitively.
    EXPECT_EQ((Paths{"", "\\X"}), ProjectDirs(R"(<SolutionItems>
  <project RelativePath="Y\y.prj"></project>
  <ProjectEntry Name="p" RelativePathX="X\x.prj"></ProjectEntry>
</SolutionItems>)"));
}

TEST(CSolutionParser, AppendsTheLatestFolderAtEveryInnerEndTag)
{
    // Empty-element entries have no end tag of their own.
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

TEST(CProjectParser, GivesEachFilePathUnchanged)
{
    EXPECT_EQ(
        (Paths{".\\Screens\\main.xml", "..\\Shared\\common.qxs", "file.xcml", "화면\\한글.xml"}),
        ProjectFiles(u8R"(<Project Name="p">
  <Files>
    <File RelativePath=".\Screens\main.xml"></File>
    <File RelativePath="..\Shared\common.qxs"></File>
    <FileRef RelativePath="file.xcml"></FileRef>
    <File RelativePath="화면\한글.xml"/>
  </Files>
</Project>)"));
}
