#include <windows.h>
#include "AgentTestSupport.h"

using ItemManagementTest = RepositoryTest;

TEST_F(ItemManagementTest, NewFileAddedRenamedAndRemoved)
{
    std::string folder = work.Make("Lib");
    ASSERT_TRUE(WriteFile(folder + "\\added.txt", "added\r\n"));
    std::vector<CString> files = {"added.txt"};
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, folder.c_str(), 0, nullptr, "\\Common\\Lib"));
    EXPECT_EQ("\\Common\\Lib", Str(VORAgent::GetViewPathVOR(folder.c_str())));
    EXPECT_TRUE(CallsTo("CaCheckin::SetDescription").empty());

    // Both act on the repository only.
    ASSERT_EQ(1, VORAgent::RenameItem("added.txt", "renamed.txt", folder.c_str()));
    ASSERT_EQ(1, VORAgent::RemoveItem("renamed.txt", folder.c_str()));
    EXPECT_TRUE(Exists(folder + "\\added.txt"));
    EXPECT_EQ(std::vector<std::string>{"CaRemoveItem::Execute(false)"},
              CallsTo("CaRemoveItem::Execute"));
    EXPECT_EQ(0, VORAgent::RemoveItem("renamed.txt", folder.c_str()));
    EXPECT_EQ(0, VORAgent::RenameItem("renamed.txt", "again.txt", folder.c_str()));

    EXPECT_EQ(1, VORAgent::CreateItemPath("New\\Deeper", "\\Common\\Lib"));
    EXPECT_EQ(1, VORAgent::CreateItemPath("New", "\\Common\\Lib"));
    EXPECT_EQ(0, VORAgent::CreateItemPath("Lost", "\\Common\\Nowhere"));
    std::vector<CString> paths;
    AgentAccess::GetSubPath("\\Common\\Lib\\New", paths);
    EXPECT_EQ(std::vector<std::string>{"\\Common\\Lib\\New\\Deeper"}, Strs(paths));
    EXPECT_EQ((std::vector<std::string>{"\\Common\\Lib\\renamed.txt 파일 삭제 실패",
                                        "again.txt 새로운 이름으로 변경하는 과정에서 실패",
                                        "\\Common\\Nowhere\\Lost 폴더 생성 실패"}),
              messages.Texts());
}

TEST_F(ItemManagementTest, WithoutMarkerOrProcessNothingIsChanged)
{
    std::string folder = work.Make("unmapped");
    ASSERT_TRUE(WriteFile(folder + "\\a.txt", "a\r\n"));
    std::vector<CString> files = {"a.txt"};
    EXPECT_EQ(0, VORAgent::DoCheckIn(&files, folder.c_str(), 0, "text", nullptr));
    EXPECT_EQ(0, VORAgent::RenameItem("a.txt", "b.txt", folder.c_str()));
    EXPECT_EQ(0, VORAgent::RemoveItem("a.txt", folder.c_str()));
    for (const char* process : {"CaCheckin", "CaRenameItem", "CaRemoveItem"})
        EXPECT_TRUE(CallsTo(process).empty()) << process;
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(Exists(folder + "\\harvest.vor"));

    // The Test state has no process to remove, rename or undo.
    std::string lib = work.Make("Lib");
    WriteMarker(lib, "\\Common\\Lib");
    VORAgent::SetStateName("Test");
    VORAgent::SetPackageName("QXP-T01");
    EXPECT_EQ(0, VORAgent::RemoveItem("Common.xml", lib.c_str()));
    EXPECT_EQ(0, VORAgent::RenameItem("Common.xml", "x.xml", lib.c_str()));
    EXPECT_EQ(0, VORAgent::UndoCheckOut("Common.xml", lib.c_str(), nullptr));
    EXPECT_EQ(3u, messages.boxes.size());
    EXPECT_TRUE(CallsTo("CaRemoveItem::Execute").empty());
}
