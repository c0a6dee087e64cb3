#include <windows.h>
#include "AgentTestSupport.h"

#include <algorithm>

namespace
{
const char* const repositories = "(a.repositobjid=1 or a.repositobjid=2 )";

class FileQueryTest : public RepositoryTest
{
protected:
    void SetUp() override
    {
        RepositoryTest::SetUp();
        HWND hwnd = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 400, 300,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(list.Attach(hwnd));
        list.InsertColumn(0, "name");
        list.InsertColumn(1, "path");
    }
    void TearDown() override
    {
        list.DestroyWindow();
        RepositoryTest::TearDown();
    }
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            rows.push_back(Str(list.GetItemText(i, 1)) + "\\" + Str(list.GetItemText(i, 0)));
            EXPECT_EQ(0u, list.GetItemState(i, LVIS_STATEIMAGEMASK));
            EXPECT_EQ(0, list.GetItemData(i));
        }
        return rows;
    }

    CListCtrl list;
};
} // namespace

TEST_F(FileQueryTest, SolutionFilesOfEveryRepository)
{
    VORAgent::QueryAllSolutionFiles(&list);
    std::vector<std::string> rows = Rows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((std::vector<std::string>{"\\Common\\Shared.qxsln", "\\QXRepo\\Main.qxsln"}), rows);
    EXPECT_EQ(std::vector<std::string>{
                  std::string("CaSQL::SetSQLStatement(select b.pathfullname, a.itemname from "
                              "haritems a, harpathfullname b where a.parentobjid = b.itemobjid and "
                              "a.itemname like '%qxsln%' and (") +
                  repositories + ")"},
              CallsTo("CaSQL::SetSQLStatement"));

    VORAgent::QueryAllSolutionFiles(&list);
    EXPECT_EQ(4, list.GetItemCount());
}

TEST_F(FileQueryTest, CompositeScreenFilesWithoutStateImage)
{
    VORAgent::QueryAllCompScreenFiles(&list);
    std::vector<std::string> rows = Rows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((std::vector<std::string>{
                  "\\Common\\Lib\\Common.xml", "\\Common\\Shared\\Screens\\Popup.xml",
                  "\\QXRepo\\Docs\\notes.xml.bak", "\\QXRepo\\Proj1\\Screen1.xml",
                  "\\QXRepo\\Proj1\\Screens\\Main.xml", "\\QXRepo\\Proj2\\Order.xml",
                  "\\QXRepo\\화면\\종합화면.xml"}),
              rows);
    std::vector<std::string> statements = CallsTo("CaSQL::SetSQLStatement");
    ASSERT_EQ(1u, statements.size());
    EXPECT_NE(std::string::npos,
              statements[0].find(std::string("a.itemname like '%.xml%' and (") + repositories));

    hsdk_testing::ThrowOnCall("CaSQL::Execute", "down");
    VORAgent::QueryAllCompScreenFiles(&list);
    ASSERT_EQ(1u, messages.boxes.size());
    EXPECT_EQ("하비스트에 존재하는 종합화면(.xml) 파일을 읽는 과정에서 실패", messages.boxes[0].text);
    EXPECT_EQ(16u, messages.boxes[0].type);
}

TEST_F(FileQueryTest, SubPathsAtAnyDepthContainingTheFolder)
{
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Lib\\Proj1"})");
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Lib\\Proj1\\Sub"})");
    std::vector<CString> paths = {"kept"};
    AgentAccess::GetSubPath("\\Proj1", paths);
    std::vector<std::string> got;
    for (const CString& path : paths)
        got.push_back(Str(path));
    std::sort(got.begin(), got.end());
    EXPECT_EQ((std::vector<std::string>{"\\Common\\Lib\\Proj1\\Sub", "\\QXRepo\\Proj1\\Screens", "kept"}), got);

    hsdk_testing::ThrowOnCall("CaSQL::Execute", "down");
    AgentAccess::GetSubPath("\\QXRepo\\Proj1", paths);
    ASSERT_EQ(1u, messages.boxes.size());
    EXPECT_EQ("\\QXRepo\\Proj1 의 하위 폴더 읽기 실패", messages.boxes[0].text);
}

TEST_F(FileQueryTest, ContextWithoutRepositoriesSendsNoQuery)
{
    VORAgent::SetProjectName("Empty");
    VORAgent::QueryAllSolutionFiles(&list);
    VORAgent::QueryAllCompScreenFiles(&list);
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_TRUE(CallsTo("CaSQL").empty());
    EXPECT_TRUE(messages.boxes.empty());
}
