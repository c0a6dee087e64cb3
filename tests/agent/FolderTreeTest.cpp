#include <windows.h>
#include "AgentTestSupport.h"

namespace
{
// "Name(Child(...) Child)" for an item and everything below it, in tree order.
std::string Shape(CTreeCtrl& tree, HTREEITEM item)
{
    std::string text = Str(tree.GetItemText(item));
    int image = -1;
    int selected = -1;
    tree.GetItemImage(item, image, selected);
    EXPECT_EQ(2, image) << text;
    EXPECT_EQ(3, selected) << text;
    EXPECT_EQ(0u, tree.GetItemData(item)) << text;
    std::string children;
    for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
        children += (children.empty() ? "" : " ") + Shape(tree, child);
    return children.empty() ? text : text + "(" + children + ")";
}

std::vector<std::string> Roots(CTreeCtrl& tree)
{
    std::vector<std::string> roots;
    for (HTREEITEM root = tree.GetRootItem(); root; root = tree.GetNextSiblingItem(root))
        roots.push_back(Shape(tree, root));
    return roots;
}

struct FolderRow
{
    long id;
    const char* name;
    long parent;
};

// A folder query's result as the SDK gives it: integer ids, names that may be null.
CaContainer Rows(const std::vector<FolderRow>& rows)
{
    CaContainer result;
    result.AddKey("ITEMOBJID");
    result.AddKey("ITEMNAME");
    result.AddKey("PARENTOBJID");
    for (const FolderRow& row : rows)
    {
        result.AddElement("ITEMOBJID", CaData(row.id));
        result.AddElement("ITEMNAME", CaData(row.name));
        result.AddElement("PARENTOBJID", CaData(row.parent));
    }
    return result;
}
} // namespace

using FolderTreeTest = RepositoryTest;

TEST_F(FolderTreeTest, EveryRepositoryBecomesARootAndAFailureKeepsWhatWasPlaced)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(CreateControl(WC_TREEVIEWA, TVS_HASLINES)));
    // Only the second repository's query fails.
    hsdk_testing::OnCall("CaSQL::Execute").Occurrence(2).Throw("lost");
    VORAgent::SetRepositoryTree(&tree);
    EXPECT_EQ(std::vector<std::string>{"QXRepo(Docs Empty Proj1(Screens) Proj2 화면)"},
              Roots(tree));
    const std::vector<std::string> box = {"하비스트 리파지토리 폴더 구조를 읽는 과정에서 실패"};
    EXPECT_EQ(box, messages.Texts());
    const std::string statement = "CaSQL::SetSQLStatement(select itemobjid, trim(itemname) as "
                                  "itemname, parentobjid from haritems where repositobjid=%d and "
                                  "itemtype=0 order by parentobjid, itemobjid)";
    std::vector<std::string> statements = {statement, statement};
    statements[0].replace(statements[0].find("%d"), 2, "1");
    statements[1].replace(statements[1].find("%d"), 2, "2");
    EXPECT_EQ(statements, CallsTo("CaSQL::SetSQLStatement"));

    // The tree is not emptied: each call adds the repositories again.
    VORAgent::SetRepositoryTree(&tree);
    std::vector<std::string> roots = Roots(tree);
    ASSERT_EQ(3u, roots.size());
    EXPECT_EQ(roots[0], roots[1]);
    // Other tests may have added folders below Lib.
    EXPECT_EQ(0u, roots[2].find("Common(Lib")) << roots[2];

    // A project without repositories, or no login, adds nothing and says nothing.
    VORAgent::SetProjectName("Empty");
    VORAgent::SetRepositoryTree(&tree);
    VORAgent::LogOut();
    VORAgent::SetRepositoryTree(&tree);
    EXPECT_EQ(3u, Roots(tree).size());
    EXPECT_EQ(box, messages.Texts());
    tree.DestroyWindow();
}

TEST_F(FolderTreeTest, RowsBeforeTheirParentAndRowsWithoutNameAreLeftOut)
{
    hsdk_testing::OnCall("CaContext::GetItemList")
        .ReturnItems({{1, "Repo", true, 11},
                      {7, "file.txt", false, 14},
                      {2, "Empty", true, 12},
                      {3, "Other", true, 13}});
    hsdk_testing::OnCall("CaSQL::GetSQLResult")
        .ReturnRows(Rows({{1, "Repo", 0},
                          {3, "Beta", 1},
                          {2, "Alpha", 1},
                          // Without a name: left out, and so is its folder.
                          {5, nullptr, 1},
                          {9, "UnderNull", 5},
                          // Before its parent's row: left out with everything below it.
                          {4, "Late", 8},
                          {8, "Parent", 2},
                          {10, "Deep", 4},
                          // An id seen before keeps the item it had first.
                          {2, "Again", 1},
                          {11, "Child", 2}}));
    hsdk_testing::OnCall("CaSQL::GetSQLResult").ReturnRows(Rows({}));
    hsdk_testing::OnCall("CaSQL::GetSQLResult")
        .ReturnRows(Rows({{30, "Other", 0}, {31, "Sub", 30}}));
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(CreateControl(WC_TREEVIEWA, TVS_HASLINES)));
    VORAgent::SetRepositoryTree(&tree);
    EXPECT_EQ((std::vector<std::string>{"Repo(Again Alpha(Child Parent) Beta)", "Other(Sub)"}),
              Roots(tree));
    std::vector<std::string> repositories;
    for (const std::string& statement : CallsTo("CaSQL::SetSQLStatement"))
        repositories.push_back(statement.substr(statement.find("repositobjid=") + 13, 2));
    EXPECT_EQ((std::vector<std::string>{"11", "12", "13"}), repositories);
    EXPECT_TRUE(messages.boxes.empty());
    tree.DestroyWindow();
}
