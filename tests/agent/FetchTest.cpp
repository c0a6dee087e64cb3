#include <windows.h>
#include "AgentTestSupport.h"

#include <algorithm>

namespace
{
std::string ViewPathOf(const std::string& folder)
{
    return Str(VORAgent::GetViewPathVOR(folder.c_str()));
}

int StateOf(const char* file, const std::string& folder)
{
    return VORAgent::GetVersionState(file, folder.c_str(), nullptr, nullptr, nullptr);
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
    // The latest normal version, not the reservation made on another computer.
    EXPECT_EQ("Screen1.qxs 0\r\n", ReadFile(folder + "\\Screen1.qxs"));
    EXPECT_TRUE(output.Has("File \\QXRepo\\Proj1\\Screen1.qxs;0 updated to " +
                           Str(VORAgent::m_sMyComName) + "\\\\" + folder + "\\Screen1.qxs"));
    EXPECT_EQ("[HarvestCM]\r\nServer_Path=\\QXRepo\\Proj1\r\n", ReadFile(folder + "\\harvest.vor"));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens", ViewPathOf(folder + "\\Screens"));
    EXPECT_TRUE(output.Has("File \\QXRepo\\Proj1\\Screen1.xml;0 updated to " +
                           Str(VORAgent::m_sMyComName) + "\\\\" + folder + "\\Screen1.xml"));
    for (const OutputLine& line : output.lines)
        EXPECT_EQ(1, line.lParam) << line.text;
    std::vector<std::string> changed;
    CStringArray* files = VORAgent::GetChangedFiles();
    for (int i = 0; i < files->GetSize(); ++i)
        changed.push_back(Str(files->GetAt(i)));
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(
        (std::vector<std::string>{folder + "\\Screen1.qxs", folder + "\\Screen1.xcml",
                                  folder + "\\Screens\\Main.qxs", folder + "\\Screens\\Main.xcml"}),
        changed);

    // Only "*" refreshes the sub folder markers.
    WriteMarker(folder + "\\Screens", "\\Elsewhere");
    ASSERT_EQ(1, VORAgent::GetLatestVersion("*.*", folder.c_str(), "\\QXRepo\\Proj1"));
    EXPECT_EQ("\\Elsewhere", ViewPathOf(folder + "\\Screens"));

    // A client folder that does not end with the view path: the markers go below the whole
    // folder, and only into sub folders that exist.
    std::string local = work.Make("local");
    std::string screens = work.Make("local\\QXRepo\\Proj1\\Screens");
    ASSERT_EQ(1, VORAgent::GetLatestVersion("*", local.c_str(), "\\QXRepo\\Proj1"));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens", ViewPathOf(screens));
    EXPECT_EQ("\\QXRepo\\Proj1", ViewPathOf(local));

    // Nothing to fetch is success, and leaves the folder's marker alone.
    std::string empty = work.Make("Empty");
    WriteMarker(empty, "\\Untouched");
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(1, VORAgent::GetLatestVersion("*", empty.c_str(), "\\QXRepo\\Empty"));
    EXPECT_EQ("\\Untouched", ViewPathOf(empty));
    EXPECT_TRUE(CallsTo("CaCheckout::Execute").empty());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(FetchTest, ResultThreeIsSuccessOnlyForGetLatest)
{
    std::string folder = work.Make("Proj2");
    hsdk_testing::OnCall("CaCheckout::Execute").Always().Return(3);
    EXPECT_EQ(1, VORAgent::GetLatestVersion("Proj2.qxproj", folder.c_str(), "\\QXRepo\\Proj2"));
    EXPECT_EQ("\\QXRepo\\Proj2", ViewPathOf(folder));
    std::string other = work.Make("other");
    EXPECT_EQ(0, VORAgent::DoCheckOut("Proj2.qxproj", other.c_str(), "\\QXRepo\\Proj2"));
    EXPECT_FALSE(Exists(other + "\\harvest.vor"));
    hsdk_testing::OnCall("CaContext::SetCheckout").Return(false);
    EXPECT_EQ(0, VORAgent::GetLatestVersion("Proj2.qxproj", other.c_str(), "\\QXRepo\\Proj2"));

    // Without a view path nothing reaches the server.
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(0, VORAgent::GetLatestVersion("readme.txt", other.c_str(), nullptr));
    EXPECT_EQ(0, VORAgent::DoCheckOut("readme.txt", other.c_str(), ""));
    EXPECT_EQ(0, VORAgent::UndoCheckOut("readme.txt", other.c_str(), nullptr));
    EXPECT_TRUE(CallsTo("CaCheckout").empty());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(FetchTest, CheckOutCheckInAndUndoOfOneFile)
{
    std::string folder = work.Make("Docs");
    std::string file = folder + "\\readme.txt";
    ASSERT_EQ(1, VORAgent::DoCheckOut("readme.txt", folder.c_str(), "\\QXRepo\\Docs"));
    EXPECT_FALSE(IsReadOnly(file));
    EXPECT_EQ("readme.txt 0\r\n", ReadFile(file));
    EXPECT_EQ("\\QXRepo\\Docs", ViewPathOf(folder));
    EXPECT_TRUE(output.Has("File \\QXRepo\\Docs\\readme.txt;1 checked out to " +
                           Str(VORAgent::m_sMyComName) + "\\\\" + file));
    EXPECT_EQ(3, StateOf("readme.txt", folder));

    // Checked in and kept: a new reservation follows the new version.
    ASSERT_TRUE(WriteFile(file, "changed once\r\n"));
    std::vector<CString> files = {"readme.txt"};
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, folder.c_str(), 1, "first change", nullptr));
    EXPECT_TRUE(output.Has("File " + file + " checked into \\QXRepo\\Docs\\readme.txt;1."));
    EXPECT_EQ(3, StateOf("readme.txt", folder));
    ASSERT_TRUE(WriteFile(file, "changed twice\r\n"));
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, folder.c_str(), 0, "", nullptr));
    EXPECT_EQ(1, StateOf("readme.txt", folder));
    EXPECT_EQ(std::vector<std::string>{"CaCheckin::SetDescription(first change)"},
              CallsTo("CaCheckin::SetDescription"));

    // Checked out again, then undone: the local change stays until the next get-latest.
    ASSERT_EQ(1, VORAgent::DoCheckOut("readme.txt", folder.c_str(), nullptr));
    ASSERT_TRUE(WriteFile(file, "discarded\r\n"));
    ASSERT_EQ(1, VORAgent::UndoCheckOut("readme.txt", folder.c_str(), nullptr));
    EXPECT_EQ("discarded\r\n", ReadFile(file));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(1, VORAgent::GetLatestVersion("readme.txt", folder.c_str(), nullptr));
    EXPECT_EQ("changed twice\r\n", ReadFile(file));
    EXPECT_TRUE(IsReadOnly(file));
    EXPECT_EQ(1, StateOf("readme.txt", folder));
    EXPECT_TRUE(messages.boxes.empty());

    // Nothing left to undo.
    EXPECT_EQ(0, VORAgent::UndoCheckOut("readme.txt", folder.c_str(), nullptr));
    EXPECT_EQ(0, VORAgent::UndoCheckOut("missing.txt", folder.c_str(), nullptr));
    EXPECT_EQ((std::vector<std::string>{folder + "\\readme.txt 파일의 체크아웃 취소 실패",
                                        folder + "\\missing.txt 파일의 체크아웃 취소 실패"}),
              messages.Texts());
}

TEST_F(FetchTest, AnotherUsersReservationRefusesCheckOutOnTheOutputLogOnly)
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
}

TEST_F(FetchTest, UndoStopsAtTheFirstStepThatFails)
{
    std::string folder = work.Make("Docs");
    WriteMarker(folder, "\\QXRepo\\Docs");
    hsdk_testing::Version reserved;
    reserved.objId = 5;
    reserved.status = "R";
    auto undo = [&] { return VORAgent::UndoCheckOut("readme.txt", folder.c_str(), nullptr); };

    // The process the context reports is not the one asked for.
    hsdk_testing::OnCall("CaContext::GetDeleteVersionName").Return("deleteVersion");
    EXPECT_EQ(0, undo());
    hsdk_testing::OnCall("CaContext::SetDeleteVersion").Return(false);
    EXPECT_EQ(0, undo());
    EXPECT_TRUE(CallsTo("CaVersionChooser").empty());
    EXPECT_EQ(1u, CallsTo("CaContext::GetDeleteVersionName").size());

    hsdk_testing::OnCall("CaVersionChooser::Execute").ChooseVersions({reserved});
    hsdk_testing::OnCall("CaDeleteVersion::Execute").Return(1);
    EXPECT_EQ(0, undo());
    hsdk_testing::OnCall("CaVersionChooser::Execute").ChooseVersions({reserved});
    hsdk_testing::OnCall("CaDeleteVersion::Execute").Return(0);
    EXPECT_EQ(1, undo());
    EXPECT_EQ(std::vector<std::string>(3, folder + "\\readme.txt 파일의 체크아웃 취소 실패"),
              messages.Texts());
    // The reserved versions of the item, the only ones a delete can act on.
    EXPECT_EQ(std::vector<std::string>(2, "CaVersionChooser::SetVersionOption(256)"),
              CallsTo("CaVersionChooser::SetVersionOption"));
}

TEST_F(FetchTest, ReservationStateComparesUserMachineAndFolder)
{
    // The client folder mirrors \QXRepo\Proj1\Screens; a sub folder of it counts as it.
    std::string folder = work.Make("Screens");
    std::string other = work.Make("other");
    WriteMarker(folder, "\\QXRepo\\Proj1\\Screens");
    WriteMarker(other, "\\QXRepo\\Proj1\\Screens");
    std::string machine = Str(VORAgent::m_sMyComName);
    CharLowerA(&machine[0]);
    const std::string clientPath = folder + "\\sub\\Main.xcml";
    auto reserved = [&](const char* name, const char* fullPath, const char* user, const char* host)
    {
        hsdk_testing::Version version;
        version.itemName = name;
        version.fullPath = fullPath;
        version.status = "R";
        version.modifier = user;
        version.clientMachine = host;
        version.clientPath = clientPath.c_str();
        return version;
    };
    const auto mine =
        reserved("Main.xcml", "\\QXRepo\\Proj1\\Screens\\Main.xcml", "dev1", machine.c_str());
    const auto theirs =
        reserved("Main.xml", "\\QXRepo\\Proj1\\Screens\\Main.xml", "dev2", machine.c_str());
    const auto away =
        reserved("Away.xml", "\\QXRepo\\Proj1\\Screens\\Away.xml", "dev1", "OTHER-PC");
    auto free = reserved("Main.qxs", "\\QXRepo\\Proj1\\Screens\\sub\\Main.qxs", "dev1", nullptr);
    free.status = "N";
    free.clientPath = nullptr;
    auto stateOf = [](const hsdk_testing::Version& version, const std::string& in)
    {
        hsdk_testing::OnCall("CaVersionChooser::Execute").ChooseVersions({version});
        return StateOf(version.itemName, in);
    };
    EXPECT_EQ(3, stateOf(mine, folder));
    EXPECT_EQ(2, stateOf(mine, other));
    EXPECT_EQ(2, stateOf(theirs, folder));
    EXPECT_EQ(2, stateOf(away, folder));
    EXPECT_EQ(1, stateOf(free, folder));
    EXPECT_EQ(0, StateOf("none.xml", folder));

    // The maps are filled only when all three are given, and "*" still answers 0.
    hsdk_testing::OnCall("CaVersionChooser::Execute")
        .Always()
        .ChooseVersions({mine, theirs, free, away});
    std::multimap<CString, CString> notReserved;
    std::multimap<CString, CString> elsewhere;
    std::multimap<CString, CString> here;
    EXPECT_EQ(0, VORAgent::GetVersionState("*", folder.c_str(), &notReserved, nullptr, &here));
    EXPECT_TRUE(notReserved.empty() && here.empty());
    EXPECT_EQ(0, VORAgent::GetVersionState("*", folder.c_str(), &notReserved, &elsewhere, &here));
    auto pairs = [](const std::multimap<CString, CString>& map)
    {
        std::vector<std::string> texts;
        for (const auto& entry : map)
            texts.push_back(Str(entry.first) + "=" + Str(entry.second));
        return texts;
    };
    EXPECT_EQ(std::vector<std::string>{"Main.xcml=" + folder + "\\Main.xcml"}, pairs(here));
    EXPECT_EQ(std::vector<std::string>{"Main.qxs=" + folder + "\\sub\\Main.qxs"},
              pairs(notReserved));
    EXPECT_EQ((std::vector<std::string>{"Away.xml=" + folder + "\\Away.xml",
                                        "Main.xml=" + folder + "\\Main.xml"}),
              pairs(elsewhere));
    EXPECT_TRUE(messages.boxes.empty());
}
