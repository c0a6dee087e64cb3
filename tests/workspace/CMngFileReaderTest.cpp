#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include "CSolutionParser.h"
#include "WorkspaceFixture.h"

namespace
{
const unsigned int kNoReader = static_cast<unsigned int>(-1);
const unsigned int kCannotOpen = static_cast<unsigned int>(-2);

using SolutionProbe = Probe<CSolutionParser>;

std::vector<ElementRecord> ParseRecords(const std::string& path)
{
    SolutionProbe parser;
    EXPECT_EQ(S_OK, parser.Init());
    EXPECT_EQ(0u, parser.Parse(Wide(path).c_str()));
    return parser.Records();
}
} // namespace

TEST(CMngFileReader, FlattensElementsAttributesAndEndTags)
{
    TempFolder folder;
    const std::string path = folder.Write("a.sln", R"(<?xml version="1.0" encoding="utf-8"?>
<!-- comments, text and processing instructions carry nothing -->
<Solution Name="S" Version="2">
  <?build fast?>
  <Project RelativePath="A\one.prj">text</Project>
  <Project RelativePath="B\two.prj" Kind="k"/>
  <Folder><Other/></Folder>
  <x:ProjectRef xmlns:x="urn:x"></x:ProjectRef>
  <Projects></Projects>
</Solution>)");

    // An empty-element tag has no end record; namespace prefixes are not part of the name.
    EXPECT_EQ("0 2:Name=S 2:Version=2 "
              "1 2:RelativePath=A\\one.prj 11 "
              "1 2:RelativePath=B\\two.prj 2:Kind=k "
              "-1 -1 11 "
              "1 2:x=urn:x 11 "
              "1 11 "
              "10",
              Describe(ParseRecords(path)));
}

TEST(CMngFileReader, ReportsAMissingReaderOrFileAndKeepsWhatWasReadBeforeBrokenInput)
{
    TempFolder folder;
    const std::string path = folder.Write("a.sln", "<Solution><Project/></Solution>");
    DebugTrace::Instance().TakeLines();
    SolutionProbe uninitialised;
    EXPECT_EQ(kNoReader, uninitialised.Parse(Wide(path).c_str()));
    SolutionProbe parser;
    ASSERT_EQ(S_OK, parser.Init());
    EXPECT_EQ(kCannotOpen, parser.Parse(Wide(folder.PathOf("missing.sln")).c_str()));
    EXPECT_EQ((std::vector<std::string>{"Error NULL == m_spReader.p\n",
                                        "Error creating file reader, error is 80070002"}),
              DebugTrace::Instance().TakeLines());
    EXPECT_EQ(kCannotOpen, parser.Parse(Wide(folder.Path()).c_str()));
    EXPECT_TRUE(parser.Records().empty());
    // The same reader still reads the next file.
    EXPECT_EQ(0u, parser.Parse(Wide(path).c_str()));
    EXPECT_EQ("0 1 10", Describe(parser.Records()));

    const std::string brokenOff = folder.Write(
        "cut.sln", R"(<Solution><Project RelativePath="A\b"></Project><Project RelativePath="C\d)");
    EXPECT_EQ("0 1 2:RelativePath=A\\b 11", Describe(ParseRecords(brokenOff)));
    const std::string mismatched =
        folder.Write("bad.sln", "<Solution><Project></Solution><Project></Project>");
    EXPECT_EQ("0 1", Describe(ParseRecords(mismatched)));
    EXPECT_TRUE(ParseRecords(folder.Write("empty.sln", "")).empty());

    // A document type declaration stops the reader before the first element; the parse still
    // succeeds.
    const std::string dtd = folder.Write("dtd.sln", R"(<?xml version="1.0"?>
<!DOCTYPE Solution [<!ATTLIST Project RelativePath CDATA "Default\p.prj">]>
<Solution><Project RelativePath="A\b"></Project><Project/></Solution>)");
    EXPECT_TRUE(ParseRecords(dtd).empty());
}

TEST(CMngFileReader, CopiesShareTheReaderAndOwnTheirRecords)
{
    TempFolder folder;
    const std::string one = folder.Write("one.sln", "<Solution><Project/></Solution>");
    const std::string two = folder.Write("two.sln", "<Solution/>");

    SolutionProbe assigned;
    ASSERT_EQ(S_OK, assigned.Init());
    IXmlReader* previous = assigned.Reader();
    previous->AddRef();
    {
        SolutionProbe original;
        ASSERT_EQ(S_OK, original.Init());
        ASSERT_EQ(0u, original.Parse(Wide(one).c_str()));
        SolutionProbe copy(original);
        EXPECT_EQ(original.Reader(), copy.Reader());
        ASSERT_EQ(0u, copy.Parse(Wide(two).c_str()));
        EXPECT_EQ("0 1 10", Describe(original.Records()));
        assigned = original;
    }
    EXPECT_EQ(0u, previous->Release()) << "assignment must release the reader it held";
    // The reader outlives the objects that created it.
    EXPECT_EQ(0u, assigned.Parse(Wide(two).c_str()));
    EXPECT_EQ("0 1 10 0", Describe(assigned.Records()));
}

TEST(CMngFileReader, TracesEveryRecordToTheDebuggerOutputCuttingLongLines)
{
    TempFolder folder;
    const std::string longValue(400, 'v');
    const std::string path = folder.Write(
        "a.sln", u8R"(<Solution><Project RelativePath="한\a.prj"/><Project RelativePath=")" +
                     longValue + R"("></Project></Solution>)");
    DebugTrace& trace = DebugTrace::Instance();
    trace.TakeLines();
    ParseRecords(path);
    const std::string attribute = "Element == type: 2,\t\t name: RelativePath,\t\t value: ";
    EXPECT_EQ((std::vector<std::string>{" (empty)", "Element == type: 0\n", "Element == type: 1\n",
                                        attribute + "한\\a.prj\n", "Element == type: 1\n",
                                        (attribute + longValue).substr(0, 259),
                                        "Element == type: 11\n", "Element == type: 10\n"}),
              trace.TakeLines());
}

TEST(CMngFileReader, SurvivesTruncatedAndCorruptedDocuments)
{
    TempFolder folder;
    // Wine's XmlLite aborts or never returns when its input ends inside the XML declaration, in
    // text or CDATA, or right after an empty-element tag, while an element is open; Windows'
    // does not. The samples avoid those endings: the document has no declaration, text or
    // CDATA, cuts after an empty-element tag are left out, and corruption spares the last tag.
    const std::string document =
        u8R"(<Solution Name="한글"><Projects><Project RelativePath="A\one.prj" Kind="a&amp;b">)"
        u8R"(</Project><Project RelativePath="B\Sub\two.prj"/><Project RelativePath="C"></Project>)"
        u8R"(</Projects><Folder x:y="z" xmlns:x="urn:x"><x:Project RelativePath="C\three.prj">)"
        u8R"(</x:Project></Folder></Solution>)";
    const std::string utf16 = Utf16Document(document);
    const size_t lastTag = std::string("</Solution>").size();
    auto endsAfterEmptyElement = [](const std::string& cut)
    {
        return cut.size() >= 4 && (cut.compare(cut.size() - 2, 2, "/>") == 0 ||
                                   cut.compare(cut.size() - 4, 4, std::string("/\0>\0", 4)) == 0);
    };

    std::vector<std::string> samples;
    for (size_t length = 0; length <= document.size(); ++length)
        samples.push_back(document.substr(0, length));
    for (size_t length = 0; length <= utf16.size(); length += 3)
        samples.push_back(utf16.substr(0, length));
    samples.erase(std::remove_if(samples.begin(), samples.end(), endsAfterEmptyElement),
                  samples.end());
    unsigned int seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int round = 0; round < 300; ++round)
    {
        std::string corrupted = round % 2 ? document : utf16;
        for (int change = 0; change < 1 + round % 5; ++change)
            corrupted[next() % (corrupted.size() - lastTag * 2)] = static_cast<char>(next());
        samples.push_back(corrupted);
    }

    for (size_t i = 0; i < samples.size(); ++i)
    {
        const std::string path = folder.Write("fuzz.sln", samples[i]);
        SolutionProbe parser;
        ASSERT_EQ(S_OK, parser.Init());
        ASSERT_EQ(0u, parser.Parse(Wide(path).c_str())) << "sample " << i;
        std::vector<std::string> dirs;
        parser.CollectProjDirs(dirs);
        EXPECT_LE(dirs.size(), parser.Records().size());
    }
}
