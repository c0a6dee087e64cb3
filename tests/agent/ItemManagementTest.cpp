#include <windows.h>
#include "AgentTestSupport.h"

using ItemManagementTest = RepositoryTest;

TEST_F(ItemManagementTest, NewFileAddedRenamedAndRemoved)
{
    std::string folder = work.Make("Lib");
    WriteFile(folder + "\\added.txt", "added\r\n");
    std::vector<CString> files = {"added.txt"};
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, folder.c_str(), 0, nullptr, "\\Common\\Lib"));
    EXPECT_EQ("\\Common\\Lib", Str(VORAgent::GetViewPathVOR(folder.c_str())));
    EXPECT_TRUE(CallsTo("CaCheckin::SetDescription").empty());
    std::vector<std::string> setup;
    for (const std::string& call : CallsTo("CaCheckin::Set"))
        setup.push_back(call);
    ASSERT_EQ(7u, setup.size());
    EXPECT_EQ("CaCheckin::SetCheckinMode(0)", setup[0]);
    EXPECT_EQ("CaCheckin::SetPathOption(1)", setup[3]);
    EXPECT_EQ("CaCheckin::SetViewPath(\\Common\\Lib)", setup[6]);

    ASSERT_EQ(1, VORAgent::RenameItem("added.txt", "renamed.txt", folder.c_str()));
    EXPECT_TRUE(Exists(folder + "\\added.txt"));
    ASSERT_EQ(1, VORAgent::RemoveItem("renamed.txt", folder.c_str()));
    EXPECT_TRUE(Exists(folder + "\\added.txt"));
    EXPECT_EQ(std::vector<std::string>{"CaRemoveItem::Execute(false)"},
              CallsTo("CaRemoveItem::Execute"));

    // A second removal and a rename of what is gone are refused with their boxes.
    EXPECT_EQ(0, VORAgent::RemoveItem("renamed.txt", folder.c_str()));
    EXPECT_EQ(0, VORAgent::RenameItem("renamed.txt", "again.txt", folder.c_str()));
    ASSERT_EQ(2u, messages.boxes.size());
    EXPECT_EQ("\\Common\\Lib\\renamed.txt 파일 삭제 실패", messages.boxes[0].text);
    EXPECT_EQ("again.txt 새로운 이름으로 변경하는 과정에서 실패", messages.boxes[1].text);
    EXPECT_EQ(16u, messages.boxes[1].type);
}

TEST_F(ItemManagementTest, WithoutMarkerNothingReachesTheServer)
{
    std::string folder = work.Make("unmapped");
    WriteFile(folder + "\\a.txt", "a\r\n");
    std::vector<CString> files = {"a.txt"};
    EXPECT_EQ(0, VORAgent::DoCheckIn(&files, folder.c_str(), 0, "text", nullptr));
    EXPECT_EQ(0, VORAgent::RenameItem("a.txt", "b.txt", folder.c_str()));
    EXPECT_EQ(0, VORAgent::RemoveItem("a.txt", folder.c_str()));
    EXPECT_TRUE(CallsTo("CaCheckin").empty());
    EXPECT_TRUE(CallsTo("CaRenameItem").empty());
    EXPECT_TRUE(CallsTo("CaRemoveItem").empty());
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(Exists(folder + "\\harvest.vor"));
}

TEST_F(ItemManagementTest, StateWithoutTheProcessRefusesTheWork)
{
    std::string folder = work.Make("Lib");
    WriteMarker(folder, "\\Common\\Lib");
    VORAgent::SetStateName("Test");
    VORAgent::SetPackageName("QXP-T01");
    EXPECT_EQ(0, VORAgent::RemoveItem("Common.xml", folder.c_str()));
    EXPECT_EQ(0, VORAgent::RenameItem("Common.xml", "x.xml", folder.c_str()));
    EXPECT_EQ(0, VORAgent::UndoCheckOut("Common.xml", folder.c_str(), nullptr));
    EXPECT_EQ(3u, messages.boxes.size());
    EXPECT_TRUE(CallsTo("CaRemoveItem::Execute").empty());
}

TEST_F(ItemManagementTest, FolderPathsCreatedBelowAParent)
{
    EXPECT_EQ(1, VORAgent::CreateItemPath("New\\Deeper", "\\Common\\Lib"));
    EXPECT_EQ(1, VORAgent::CreateItemPath("New", "\\Common\\Lib"));
    EXPECT_EQ(0, VORAgent::CreateItemPath("Lost", "\\Common\\Nowhere"));
    ASSERT_EQ(1u, messages.boxes.size());
    EXPECT_EQ("\\Common\\Nowhere\\Lost 폴더 생성 실패", messages.boxes[0].text);

    std::vector<CString> paths;
    AgentAccess::GetSubPath("\\Common\\Lib\\New", paths);
    ASSERT_EQ(1u, paths.size());
    EXPECT_EQ("\\Common\\Lib\\New\\Deeper", Str(paths[0]));
}
