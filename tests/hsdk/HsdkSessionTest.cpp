#include <windows.h>

#include <chrono>
#include <cstdlib>

#include "HsdkFixture.h"

using ::testing::ElementsAre;

TEST(HsdkLoginTest, RefusesBadPasswordsAndNeverHangsOnADeadPort)
{
    if (!HsdkFixture::HasBroker())
        GTEST_SKIP() << "no broker";
    CaHarvest harvest;
    EXPECT_NE(0, harvest.Login("localhost", "dev1", "wrong"));
    EXPECT_NE(0, harvest.Login("localhost", "nobody", "dev1pw"));
    EXPECT_THROW(harvest.GetProjectList(), CaException);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(0, harvest.Login("127.0.0.1:1", "dev1", "dev1pw"));
    EXPECT_NE(0, harvest.Login("no-such-host.invalid", "dev1", "dev1pw"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    const std::string broker = std::string("127.0.0.1:") + std::getenv("HARBROKER_PORT");
    EXPECT_EQ(0, harvest.Login(broker.c_str(), "dev1", "dev1pw"));
    harvest.Logout();
    EXPECT_THROW(harvest.GetProjectList(), CaException);
}

class HsdkContextTest : public HsdkFixture
{
};

TEST_F(HsdkContextTest, ListsProjectsStatesAndPackagesAndRefusesUnknownNames)
{
    EXPECT_THAT(Names(m_harvest.GetActiveProjectList(), "CA_ATTRKEY_NAME"),
                ElementsAre("QXP", "Empty"));
    EXPECT_THAT(Names(m_harvest.GetInactiveProjectList(), "CA_ATTRKEY_NAME"),
                ElementsAre("QXP_OLD"));

    CaContext& context = m_harvest.GetContext();
    EXPECT_THAT(Names(context.GetStateList(), "CA_ATTRKEY_NAME"),
                ElementsAre("Development", "Test", "Release"));
    CaPackageChooser& packages = context.GetPackageChooser();
    packages.SetPackageName("*", 0);
    packages.SetPkgStatus(3);
    EXPECT_EQ(0, packages.Execute(true));
    EXPECT_THAT(Names(packages.GetPackageList(), "CA_ATTRKEY_NAME"),
                ElementsAre("QXP-001", "QXP-002"));

    EXPECT_FALSE(context.SetPackage("OLD-001"));
    EXPECT_STREQ("QXP-001", context.GetPackageName());

    EXPECT_TRUE(context.SetCheckout("CheckOut"));
    EXPECT_FALSE(context.SetCheckout("CheckIn")) << "a process of another kind";

    EXPECT_TRUE(context.SetState("Release"));
    EXPECT_STREQ("", context.GetPackageName()) << "a new state drops the package";
    EXPECT_FALSE(context.SetCheckout("CheckOut"));
    packages.Execute(true);
    EXPECT_TRUE(packages.GetPackageList().IsEmpty());

    EXPECT_TRUE(context.SetProject("QXP_OLD"));
    EXPECT_STREQ("", context.GetStateName());
    EXPECT_THAT(Names(context.GetStateList(), "CA_ATTRKEY_NAME"), ElementsAre("Archive"));
}

TEST_F(HsdkContextTest, GivesOneFolderPerRepositoryAndItsSubFolders)
{
    CaContext& context = m_harvest.GetContext();
    const CaItemList roots = context.GetItemList(false, 0);
    ASSERT_EQ(2, roots.GetSize());
    EXPECT_STREQ("QXRepo", roots[0].GetName());
    EXPECT_TRUE(roots[0].IsItemPath());
    EXPECT_STREQ("Common", roots[1].GetName());
    EXPECT_EQ(2, roots[1].GetParentRepositoryObjId());

    const CaItemList folders = roots[0].GetItemPathList(false);
    std::vector<std::string> names;
    for (int i = 0; i < folders.GetSize(); ++i)
    {
        EXPECT_TRUE(folders[i].IsItemPath());
        names.push_back(static_cast<const char*>(folders[i].GetName()));
    }
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("Proj1", "Proj2", "화면", "Docs", "Empty"));

    ASSERT_TRUE(context.SetProject("Empty"));
    EXPECT_EQ(0, context.GetItemList(false, 0).GetSize());
}

TEST_F(HsdkContextTest, RunsTheFolderQueriesWithTypedColumnsAndRefusesWrites)
{
    CaSQL& sql = m_harvest.GetContext().GetSQL();
    sql.SetSQLStatement("select itemobjid, trim(itemname) as itemname, parentobjid from haritems "
                        "where repositobjid=2 and itemtype=0 order by parentobjid, itemobjid");
    EXPECT_EQ(0, sql.Execute());
    CaContainer result = sql.GetSQLResult();
    ASSERT_EQ(4, result.GetKeyElementCount("ITEMOBJID"));
    EXPECT_EQ(1, result.Props("ITEMOBJID", 0).GetType());
    EXPECT_EQ(22, result.Props("ITEMOBJID", 0).GetLong());
    EXPECT_EQ(2, result.Props("ITEMNAME", 0).GetType());
    EXPECT_STREQ("Common", result.Props("ITEMNAME", 0));
    EXPECT_STREQ("Screens", result.Props("ITEMNAME", 3));

    sql.SetSQLStatement(
        "select pathfullname, null as absent from harpathfullname where itemobjid=5");
    sql.Execute();
    result = sql.GetSQLResult();
    EXPECT_STREQ("\\QXRepo\\화면", result.Props("PATHFULLNAME", 0))
        << "Korean comes back in code page 949";
    EXPECT_TRUE(result.Props("ABSENT", 0).IsNull());

    sql.SetSQLStatement("delete from haritems");
    EXPECT_THROW(sql.Execute(), CaException);
    EXPECT_TRUE(sql.GetSQLResult().IsEmpty());
}
