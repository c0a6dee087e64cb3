#include <windows.h>
#include "AgentTestSupport.h"

#include <algorithm>
#include <utility>

namespace
{
// A file query's result as the SDK gives it, in the server's order; a null is nullptr.
CaContainer Rows(const std::vector<std::pair<const char*, const char*>>& pathAndName)
{
    CaContainer result;
    result.AddKey("PATHFULLNAME");
    result.AddKey("ITEMNAME");
    for (const auto& row : pathAndName)
    {
        result.AddElement("PATHFULLNAME", CaData(row.first));
        result.AddElement("ITEMNAME", CaData(row.second));
    }
    return result;
}
} // namespace

using FileQueryTest = RepositoryTest;

TEST_F(FileQueryTest, FilesOfEveryRepositoryOfTheProject)
{
    CListCtrl list;
    ASSERT_TRUE(list.Attach(CreateControl(WC_LISTVIEWA, LVS_REPORT)));
    list.InsertColumn(0, "name");
    list.InsertColumn(1, "path");
    // The rows as "path\name", sorted; the list is emptied for the next query.
    auto takeRows = [&list]
    {
        std::vector<std::string> rows;
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            rows.push_back(Str(list.GetItemText(i, 1)) + "\\" + Str(list.GetItemText(i, 0)));
            EXPECT_EQ(0u, list.GetItemState(i, LVIS_STATEIMAGEMASK));
        }
        list.DeleteAllItems();
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    VORAgent::QueryAllSolutionFiles(&list);
    EXPECT_EQ((std::vector<std::string>{"\\Common\\Shared.qxsln", "\\QXRepo\\Main.qxsln"}),
              takeRows());
    VORAgent::QueryAllCompScreenFiles(&list);
    EXPECT_EQ((std::vector<std::string>{
                  "\\Common\\Lib\\Common.xml", "\\Common\\Shared\\Screens\\Popup.xml",
                  "\\QXRepo\\Docs\\notes.xml.bak", "\\QXRepo\\Proj1\\Screen1.xml",
                  "\\QXRepo\\Proj1\\Screens\\Main.xml", "\\QXRepo\\Proj2\\Order.xml",
                  "\\QXRepo\\화면\\종합화면.xml"}),
              takeRows());
    const std::string head = "CaSQL::SetSQLStatement(select b.pathfullname, a.itemname from "
                             "haritems a, harpathfullname b where a.parentobjid = b.itemobjid and "
                             "a.itemname like ";
    const std::string repositories = " and (a.repositobjid=1 or a.repositobjid=2 ))";
    EXPECT_EQ((std::vector<std::string>{head + "'%qxsln%'" + repositories,
                                        head + "'%.xml%'" + repositories}),
              CallsTo("CaSQL::SetSQLStatement"));

    // Rows with a null name or path are left out; the others keep their own list rows.
    hsdk_testing::OnCall("CaSQL::GetSQLResult")
        .ReturnRows(
            Rows({{"\\A", "a.xml"}, {"\\B", nullptr}, {nullptr, "c.xml"}, {"\\D", "d.xml"}}));
    VORAgent::QueryAllCompScreenFiles(&list);
    EXPECT_EQ((std::vector<std::string>{"\\A\\a.xml", "\\D\\d.xml"}), takeRows());
    hsdk_testing::OnCall("CaSQL::Execute").Throw("down");
    VORAgent::QueryAllCompScreenFiles(&list);
    EXPECT_EQ(
        std::vector<std::string>{"하비스트에 존재하는 종합화면(.xml) 파일을 읽는 과정에서 실패"},
        messages.Texts());

    // A project without repositories sends no query at all.
    hsdk_testing::ClearRecordedCalls();
    VORAgent::SetProjectName("Empty");
    VORAgent::QueryAllSolutionFiles(&list);
    VORAgent::QueryAllCompScreenFiles(&list);
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_TRUE(CallsTo("CaSQL").empty());
    EXPECT_EQ(1u, messages.boxes.size());
    list.DestroyWindow();
}

TEST_F(FileQueryTest, SubPathsAtAnyDepthContainingTheFolder)
{
    hsdk_testing::OnCall("CaSQL::GetSQLResult")
        .ReturnRows(Rows({{"\\QXRepo\\Proj1", "Screens"},
                          {"\\Common\\Lib", "Proj1"},
                          {"\\Common\\Lib\\Proj1", "Sub"},
                          {"\\QXRepo\\Proj1", nullptr},
                          {nullptr, "Lost"},
                          {"\\QXRepo\\Proj1\\Screens", "Deep"}}));
    std::vector<CString> paths = {"kept"};
    AgentAccess::GetSubPath("\\Proj1", paths);
    EXPECT_EQ(
        (std::vector<std::string>{"kept", "\\QXRepo\\Proj1\\Screens", "\\Common\\Lib\\Proj1\\Sub",
                                  "\\QXRepo\\Proj1\\Screens\\Deep"}),
        Strs(paths));
    EXPECT_EQ(std::vector<std::string>{"CaSQL::SetSQLStatement(select b.pathfullname, a.itemname "
                                       "from haritems a, harpathfullname b where a.parentobjid = "
                                       "b.itemobjid and itemtype=0 and (a.repositobjid=1 or "
                                       "a.repositobjid=2 ))"},
              CallsTo("CaSQL::SetSQLStatement"));

    hsdk_testing::OnCall("CaSQL::Execute").Throw("down");
    AgentAccess::GetSubPath("\\QXRepo\\Proj1", paths);
    EXPECT_EQ(std::vector<std::string>{"\\QXRepo\\Proj1 의 하위 폴더 읽기 실패"}, messages.Texts());
}
