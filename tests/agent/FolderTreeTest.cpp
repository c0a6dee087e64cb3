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
} // namespace

using FolderTreeTest = RepositoryTest;

TEST_F(FolderTreeTest, EveryRepositoryBecomesARootWithSortedFolders)
{
    // Rows come ordered by parent id: Late's parent (id 100) sorts before its own parent
    // (id 800), so Late and everything below it cannot be placed.
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Odd","objid":800})");
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Odd\\Early","objid":100})");
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Odd\\Early\\Late","objid":900})");
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Odd\\Early\\Late\\Deep","objid":950})");
    Admin(R"({"op":"admin.createFolder","path":"\\Common\\Odd\\Early\\Before","objid":50})");
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(CreateControl(WC_TREEVIEWA, TVS_HASLINES)));
    VORAgent::SetRepositoryTree(&tree);
    std::vector<std::string> roots = Roots(tree);
    ASSERT_EQ(2u, roots.size());
    EXPECT_EQ("QXRepo(Docs Empty Proj1(Screens) Proj2 화면)", roots[0]);
    // Other tests may have added folders below Lib.
    EXPECT_EQ(0u, roots[1].find("Common(Lib")) << roots[1];
    EXPECT_NE(std::string::npos, roots[1].find(" Odd(Early) Shared(Screens))")) << roots[1];
    std::vector<std::string> statements = CallsTo("CaSQL::SetSQLStatement");
    ASSERT_EQ(2u, statements.size());
    EXPECT_EQ("CaSQL::SetSQLStatement(select itemobjid, trim(itemname) as itemname, parentobjid "
              "from haritems where repositobjid=1 and itemtype=0 order by parentobjid, itemobjid)",
              statements[0]);

    // The tree is not emptied: each call adds the repositories again, and a failure keeps
    // what was inserted.
    VORAgent::SetRepositoryTree(&tree);
    EXPECT_EQ(4u, Roots(tree).size());
    EXPECT_TRUE(messages.boxes.empty());
    hsdk_testing::ThrowOnCall("CaSQL::GetSQLResult", "lost");
    VORAgent::SetRepositoryTree(&tree);
    EXPECT_EQ(4u, Roots(tree).size());
    const std::vector<std::string> box = {"하비스트 리파지토리 폴더 구조를 읽는 과정에서 실패"};
    EXPECT_EQ(box, messages.Texts());

    // A project without repositories, or no login, adds nothing and says nothing.
    VORAgent::SetProjectName("Empty");
    VORAgent::SetRepositoryTree(&tree);
    VORAgent::LogOut();
    VORAgent::SetRepositoryTree(&tree);
    EXPECT_EQ(4u, Roots(tree).size());
    EXPECT_EQ(box, messages.Texts());
    tree.DestroyWindow();
}
