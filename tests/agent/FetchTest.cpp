#include <windows.h>
#include "AgentTestSupport.h"

#include <algorithm>

namespace
{
std::string Machine()
{
    return Str(VORAgent::m_sMyComName);
}

std::vector<std::string> Texts(const std::vector<OutputLine>& lines)
{
    std::vector<std::string> texts;
    for (const OutputLine& line : lines)
        texts.push_back(line.text);
    return texts;
}
} // namespace

using FetchTest = RepositoryTest;

TEST_F(FetchTest, LatestOfAFolderWritesItsFilesAndEverySubFolderMarker)
{
    // The caller's client folder is a local root followed by the view path.
    std::string folder = work.Make("QXRepo\\Proj1");
    ASSERT_EQ(1, VORAgent::GetLatestVersion("*", folder.c_str(), "\\QXRepo\\Proj1"));

    EXPECT_EQ("Main.xml 10\r\n", ReadFile(folder + "\\Screens\\Main.xml"));
    EXPECT_TRUE(IsReadOnly(folder + "\\Screen1.xml"));
    // The latest normal version, not another user's reservation.
    EXPECT_EQ("Screen1.qxs 0\r\n", ReadFile(folder + "\\Screen1.qxs"));
    EXPECT_EQ("[HarvestCM]\r\nServer_Path=\\QXRepo\\Proj1\r\n", MarkerOf(folder));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens", Str(VORAgent::GetViewPathVOR((folder + "\\Screens").c_str())));

    std::string line = "File \\QXRepo\\Proj1\\Screen1.xml;0 updated to " + Machine() + "\\\\" +
                       folder + "\\Screen1.xml";
    std::vector<std::string> texts = Texts(output.lines);
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), line));
    for (const OutputLine& output : output.lines)
        EXPECT_EQ(1, output.lParam) << output.text;

    std::vector<std::string> changed;
    CStringArray* files = VORAgent::GetChangedFiles();
    for (int i = 0; i < files->GetSize(); ++i)
        changed.push_back(Str(files->GetAt(i)));
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ((std::vector<std::string>{folder + "\\Screen1.qxs", folder + "\\Screen1.xcml",
                                        folder + "\\Screens\\Main.qxs",
                                        folder + "\\Screens\\Main.xcml"}),
              changed);

    // Only "*" refreshes the sub folder markers; a marker is only written into a folder that
    // exists.
    WriteMarker(folder + "\\Screens", "\\Elsewhere");
    ASSERT_EQ(1, VORAgent::GetLatestVersion("*.*", folder.c_str(), "\\QXRepo\\Proj1"));
    EXPECT_EQ("\\Elsewhere", Str(VORAgent::GetViewPathVOR((folder + "\\Screens").c_str())));
    EXPECT_FALSE(Exists(work.Path() + "\\QXRepo\\Proj2\\harvest.vor"));
}

TEST_F(FetchTest, ClientFolderWithoutTheViewPathGetsMarkersBelowTheWholeFolder)
{
    std::string folder = work.Make("local");
    std::string screens = work.Make("local\\QXRepo\\Proj1\\Screens");
    ASSERT_EQ(1, VORAgent::GetLatestVersion("*", folder.c_str(), "\\QXRepo\\Proj1"));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens", Str(VORAgent::GetViewPathVOR(screens.c_str())));
    EXPECT_EQ("\\QXRepo\\Proj1", Str(VORAgent::GetViewPathVOR(folder.c_str())));
}

TEST_F(FetchTest, NothingToFetchOrNoViewPath)
{
    std::string empty = work.Make("Empty");
    WriteMarker(empty, "\\Untouched");
    EXPECT_EQ(1, VORAgent::GetLatestVersion("*", empty.c_str(), "\\QXRepo\\Empty"));
    EXPECT_EQ("\\Untouched", Str(VORAgent::GetViewPathVOR(empty.c_str())));
    EXPECT_TRUE(CallsTo("CaCheckout::Execute").empty());

    std::string unmapped = work.Make("unmapped");
    EXPECT_EQ(0, VORAgent::GetLatestVersion("readme.txt", unmapped.c_str(), nullptr));
    EXPECT_EQ(0, VORAgent::DoCheckOut("readme.txt", unmapped.c_str(), ""));
    EXPECT_EQ(0, VORAgent::UndoCheckOut("readme.txt", unmapped.c_str(), nullptr));
    EXPECT_TRUE(CallsTo("CaCheckout").empty());
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ("", Str(VORAgent::GetViewPathVOR(unmapped.c_str())));
}

TEST_F(FetchTest, ResultThreeIsSuccessOnlyForGetLatest)
{
    std::string folder = work.Make("Proj2");
    hsdk_testing::FailCall("CaCheckout::Execute", 3);
    EXPECT_EQ(1, VORAgent::GetLatestVersion("Proj2.qxproj", folder.c_str(), "\\QXRepo\\Proj2"));
    EXPECT_EQ("\\QXRepo\\Proj2", Str(VORAgent::GetViewPathVOR(folder.c_str())));

    std::string other = work.Make("other");
    EXPECT_EQ(0, VORAgent::DoCheckOut("Proj2.qxproj", other.c_str(), "\\QXRepo\\Proj2"));
    EXPECT_FALSE(Exists(other + "\\harvest.vor"));
    hsdk_testing::FailCall("CaContext::SetCheckout", 0);
    EXPECT_EQ(0, VORAgent::GetLatestVersion("Proj2.qxproj", other.c_str(), "\\QXRepo\\Proj2"));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(FetchTest, CheckOutCheckInAndUndoOfOneFile)
{
    std::string folder = work.Make("Docs");
    std::string file = folder + "\\readme.txt";
    ASSERT_EQ(1, VORAgent::DoCheckOut("readme.txt", folder.c_str(), "\\QXRepo\\Docs"));
    EXPECT_FALSE(IsReadOnly(file));
    EXPECT_EQ("readme.txt 0\r\n", ReadFile(file));
    EXPECT_EQ("\\QXRepo\\Docs", Str(VORAgent::GetViewPathVOR(folder.c_str())));
    ASSERT_FALSE(output.lines.empty());
    EXPECT_EQ("File \\QXRepo\\Docs\\readme.txt;1 checked out to " + Machine() + "\\\\" + file,
              output.lines.back().text);

    HItemState state;
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("readme.txt", "\\QXRepo\\Docs", &state));
    EXPECT_EQ("R1", Str(state.m_sStatus));
    EXPECT_EQ("dev1", Str(state.m_sModifier));
    EXPECT_EQ(file, Str(state.m_sClientPath));
    EXPECT_EQ(3, VORAgent::GetVersionState("readme.txt", folder.c_str(), nullptr, nullptr, nullptr));

    // Checked in and kept: a new reservation follows the new version.
    WriteFile(file, "changed once\r\n");
    std::vector<CString> files = {"readme.txt"};
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, folder.c_str(), 1, "first change", nullptr));
    EXPECT_EQ("File " + file + " checked into \\QXRepo\\Docs\\readme.txt;1.", output.lines.back().text);
    EXPECT_EQ(3, VORAgent::GetVersionState("readme.txt", folder.c_str(), nullptr, nullptr, nullptr));

    WriteFile(file, "changed twice\r\n");
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, folder.c_str(), 0, "", nullptr));
    EXPECT_EQ(1, VORAgent::GetVersionState("readme.txt", folder.c_str(), nullptr, nullptr, nullptr));
    std::vector<std::string> descriptions;
    for (const std::string& call : CallsTo("CaCheckin::SetDescription"))
        descriptions.push_back(call);
    EXPECT_EQ(std::vector<std::string>{"CaCheckin::SetDescription(first change)"}, descriptions);

    // Checked out again, then undone: the file goes back to the repository's copy.
    ASSERT_EQ(1, VORAgent::DoCheckOut("readme.txt", folder.c_str(), nullptr));
    WriteFile(file, "discarded\r\n");
    ASSERT_EQ(1, VORAgent::UndoCheckOut("readme.txt", folder.c_str(), nullptr));
    EXPECT_EQ("discarded\r\n", ReadFile(file));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(1, VORAgent::GetLatestVersion("readme.txt", folder.c_str(), nullptr));
    EXPECT_EQ("changed twice\r\n", ReadFile(file));
    EXPECT_TRUE(IsReadOnly(file));
    EXPECT_EQ(1, VORAgent::GetVersionState("readme.txt", folder.c_str(), nullptr, nullptr, nullptr));
    EXPECT_TRUE(messages.boxes.empty());

    // Nothing left to undo.
    EXPECT_EQ(0, VORAgent::UndoCheckOut("readme.txt", folder.c_str(), nullptr));
    EXPECT_EQ(0, VORAgent::UndoCheckOut("missing.txt", folder.c_str(), nullptr));
    ASSERT_EQ(2u, messages.boxes.size());
    EXPECT_EQ(folder + "\\readme.txt 파일의 체크아웃 취소 실패", messages.boxes[0].text);
    EXPECT_EQ(folder + "\\missing.txt 파일의 체크아웃 취소 실패", messages.boxes[1].text);
    EXPECT_EQ(16u, messages.boxes[1].type);
}

TEST_F(FetchTest, AnotherUsersReservationRefusesCheckOutAndCheckIn)
{
    std::string folder = work.Make("Proj2");
    ASSERT_EQ(1, VORAgent::GetLatestVersion("Order.xml", folder.c_str(), "\\QXRepo\\Proj2"));
    EXPECT_EQ(0, VORAgent::DoCheckOut("Order.xml", folder.c_str(), nullptr));
    ASSERT_FALSE(output.lines.empty());
    EXPECT_EQ("Item \\QXRepo\\Proj2\\Order.xml can not be processed,  this item has been checked "
              "out for update.",
              output.lines.back().text);
    EXPECT_EQ(0, output.lines.back().lParam);
    EXPECT_TRUE(messages.boxes.empty());

    HItemState state;
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("Order.xml", "\\QXRepo\\Proj2", &state));
    EXPECT_EQ("R2", Str(state.m_sStatus));
    EXPECT_EQ("dev2", Str(state.m_sModifier));
    EXPECT_EQ("C:\\QXWork\\QXRepo\\Proj2\\Order.xml", Str(state.m_sClientPath));
    EXPECT_EQ(2, VORAgent::GetVersionState("Order.xml", folder.c_str(), nullptr, nullptr, nullptr));

    SetFileAttributesA((folder + "\\Order.xml").c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<CString> files = {"Order.xml"};
    EXPECT_EQ(0, VORAgent::DoCheckIn(&files, folder.c_str(), 0, nullptr, nullptr));
    EXPECT_EQ(0, output.lines.back().lParam);
    ASSERT_EQ(1u, messages.boxes.size());
    EXPECT_EQ(folder + " 폴더의 파일 체크인 실패", messages.boxes[0].text);
    EXPECT_EQ(16u, messages.boxes[0].type);
}

TEST_F(FetchTest, ReservationElsewhereIsNotThisFolders)
{
    // A reservation of dev1 made from this computer into a sub folder of the client folder.
    std::string folder = work.Make("Proj1\\Screens");
    std::string sub = work.Make("Proj1\\Screens\\sub");
    std::string other = work.Make("other");
    WriteMarker(folder, "\\QXRepo\\Proj1\\Screens");
    WriteMarker(other, "\\QXRepo\\Proj1\\Screens");
    std::string machine = Machine();
    for (char& c : machine)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    Admin(R"({"op":"admin.reserve","itemPath":"\\QXRepo\\Proj1\\Screens\\Main.xcml",)"
          R"("user":"dev1","machine":")" + machine + R"(","clientPath":")" +
          JsonText(sub + "\\Main.xcml") + R"("})");

    // The machine name differs only in case, and a client path containing the folder counts.
    EXPECT_EQ(3, VORAgent::GetVersionState("Main.xcml", folder.c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(2, VORAgent::GetVersionState("Main.xcml", other.c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(1, VORAgent::GetVersionState("Main.qxs", folder.c_str(), nullptr, nullptr, nullptr));

    std::multimap<CString, CString> free;
    std::multimap<CString, CString> elsewhere;
    std::multimap<CString, CString> here;
    EXPECT_EQ(0, VORAgent::GetVersionState("*", folder.c_str(), &free, nullptr, &here));
    EXPECT_TRUE(free.empty() && here.empty());
    EXPECT_EQ(0, VORAgent::GetVersionState("*", folder.c_str(), &free, &elsewhere, &here));
    ASSERT_EQ(1u, here.size());
    EXPECT_EQ("Main.xcml", Str(here.begin()->first));
    EXPECT_EQ(folder + "\\Main.xcml", Str(here.begin()->second));
    EXPECT_EQ(2u, free.size());
    EXPECT_EQ(folder + "\\Main.qxs", Str(free.find("Main.qxs")->second));
    EXPECT_TRUE(elsewhere.empty());

    // Another user's, or this user's on another computer, is elsewhere.
    std::string proj1 = work.Make("Proj1");
    WriteMarker(proj1, "\\QXRepo\\Proj1");
    EXPECT_EQ(2, VORAgent::GetVersionState("Screen1.qxs", proj1.c_str(), nullptr, nullptr, nullptr));

    EXPECT_EQ(0, VORAgent::GetVersionState("none.xml", folder.c_str(), nullptr, nullptr, nullptr));
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(1, VORAgent::UndoCheckOut("Main.xcml", folder.c_str(), nullptr));
}
