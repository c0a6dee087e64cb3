#include "BrokerProcess.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace
{

class ChooserTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_broker = new BrokerProcess;
        s_client = s_broker->login("dev1", "dev1pw").release();
    }
    static void TearDownTestSuite()
    {
        delete s_client;
        delete s_broker;
    }

    // "path;version" of every chosen version, in the order chosen.
    static std::vector<std::string> choose(json fields)
    {
        const json reply = s_client->request(qxpRequest("chooseVersions", std::move(fields)));
        EXPECT_EQ(reply["ok"], true) << reply.dump();
        std::vector<std::string> chosen;
        for (const json& v : reply["versions"])
            chosen.push_back(v["fullPath"].get<std::string>() + ";" +
                             v["version"].get<std::string>());
        return chosen;
    }

    static json with(json base, const json& more)
    {
        base.update(more);
        return base;
    }

    static BrokerProcess* s_broker;
    static BrokerClient* s_client;
};

BrokerProcess* ChooserTest::s_broker = nullptr;
BrokerClient* ChooserTest::s_client = nullptr;

using Names = std::vector<std::string>;

} // namespace

TEST_F(ChooserTest, RecursiveListingPutsTheFolderFirstThenSubFoldersInPathOrder)
{
    EXPECT_EQ(
        choose({{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "*"}, {"recursive", true}}),
        (Names{"\\QXRepo\\Proj1\\Proj1.qxproj;0", "\\QXRepo\\Proj1\\Screen1.qxs;1",
               "\\QXRepo\\Proj1\\Screen1.xcml;0", "\\QXRepo\\Proj1\\Screen1.xml;0",
               "\\QXRepo\\Proj1\\Screens\\Main.qxs;0", "\\QXRepo\\Proj1\\Screens\\Main.xcml;0",
               "\\QXRepo\\Proj1\\Screens\\Main.xml;10"}));
    EXPECT_EQ(choose({{"parentPath", "\\QXRepo"}, {"itemName", "*.xml"}, {"recursive", true}}),
              (Names{"\\QXRepo\\Proj1\\Screen1.xml;0", "\\QXRepo\\Proj1\\Screens\\Main.xml;10",
                     "\\QXRepo\\Proj2\\Order.xml;1", "\\QXRepo\\화면\\종합화면.xml;0"}));
    EXPECT_EQ(choose({{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "Screen1.*"}}).size(), 3u);
    EXPECT_TRUE(choose({{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "Main.xml"}}).empty())
        << "not recursive";
    EXPECT_TRUE(
        choose({{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "main.xml"}, {"recursive", true}})
            .empty());
    EXPECT_TRUE(choose({{"parentPath", "\\QXRepo\\Empty"}, {"itemName", "*"}, {"recursive", true}})
                    .empty());
    EXPECT_TRUE(choose({{"parentPath", "\\NoSuchRepo"}, {"itemName", "*"}}).empty());
}

TEST_F(ChooserTest, VersionOptionsPickAllTheLatestTheLatestNormalOrThePackagesLatest)
{
    Names all;
    for (int k = 0; k <= 10; ++k)
        all.push_back("\\QXRepo\\Proj1\\Screens\\Main.xml;" + std::to_string(k));
    const json main = {{"parentPath", "\\QXRepo"}, {"itemName", "Main.xml"}, {"recursive", true}};
    EXPECT_EQ(choose(with(main, {{"versionOption", 1}})), all) << "oldest first, numeric order";

    const json reserved = {{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "Screen1.qxs"}};
    EXPECT_EQ(choose(with(reserved, {{"versionOption", 0x100}})),
              Names{"\\QXRepo\\Proj1\\Screen1.qxs;1"});
    EXPECT_EQ(choose(with(reserved, {{"versionOption", 0x1000}})),
              Names{"\\QXRepo\\Proj1\\Screen1.qxs;0"});
    EXPECT_EQ(choose(with(reserved, {{"versionOption", 0x100}, {"statusOption", 0x1}})),
              Names{"\\QXRepo\\Proj1\\Screen1.qxs;0"});
    EXPECT_TRUE(choose(with(reserved, {{"branchOption", 0x110}})).empty())
        << "every version is on the trunk";

    const json common = {{"parentPath", "\\Common"},
                         {"itemName", "Common.xml"},
                         {"recursive", true},
                         {"versionOption", 0x10000}};
    EXPECT_EQ(choose(with(common, {{"package", "QXP-002"}})), Names{"\\Common\\Lib\\Common.xml;1"});
    EXPECT_EQ(choose(common), Names{"\\Common\\Lib\\Common.xml;0"});
}

TEST_F(ChooserTest, ObjectIdChoosesOneVersionWhateverTheOptions)
{
    EXPECT_EQ(choose({{"versionObjId", 9}, {"versionOption", 0x1000}, {"statusOption", 0x10}}),
              Names{"\\QXRepo\\Proj1\\Screens\\Main.xml;2"});
    EXPECT_TRUE(choose({{"versionObjId", 9999}}).empty());
}

TEST_F(ChooserTest, RecordsCarryWhatTheVersionQueriesRead)
{
    const json reply = s_client->request(
        qxpRequest("chooseVersions",
                   {{"parentPath", "\\QXRepo\\Proj2"}, {"itemName", "*"}, {"versionOption", 1}}));
    ASSERT_EQ(reply["versions"].size(), 3u);
    const json& normal = reply["versions"][0];
    EXPECT_EQ(normal["name"], "Order.xml");
    EXPECT_EQ(normal["status"], "N");
    EXPECT_EQ(normal["modified"], "2009-03-07 14:05:00");
    EXPECT_EQ(normal["description"], "Initial import");
    EXPECT_TRUE(normal["clientMachine"].is_null());
    EXPECT_TRUE(normal["clientPath"].is_null());
    const json& held = reply["versions"][1];
    EXPECT_EQ(held["objid"], 22);
    EXPECT_EQ(held["status"], "R");
    EXPECT_EQ(held["modifier"], "dev2");
    EXPECT_EQ(held["package"], "QXP-002");
    EXPECT_EQ(held["clientMachine"], "DEV2-PC");
    EXPECT_EQ(held["clientPath"], "C:\\QXWork\\QXRepo\\Proj2\\Order.xml");
    EXPECT_EQ(held["fullPath"], "\\QXRepo\\Proj2\\Order.xml");
    EXPECT_EQ(held["size"], 13);
}

TEST_F(ChooserTest, ContextListsAndVisibilityFollowTheProject)
{
    EXPECT_EQ(s_client->request({{"op", "projects"}, {"kind", 2}})["names"], json({"QXP_OLD"}));
    EXPECT_EQ(s_client->request({{"op", "states"}, {"project", "QXP"}})["names"],
              json({"Development", "Test", "Release"}));
    EXPECT_EQ(
        s_client->request({{"op", "packages"}, {"project", "QXP"}, {"state", "Release"}})["names"],
        json::array());
    EXPECT_EQ(
        s_client->request({{"op", "processes"}, {"project", "QXP"}, {"state", "Test"}})["processes"]
            .size(),
        2u);
    EXPECT_EQ(s_client->request({{"op", "context"},
                                 {"project", "QXP"},
                                 {"state", "Test"},
                                 {"package", "QXP-001"}})["code"],
              "notFound");
    const json roots = s_client->request({{"op", "items"}, {"project", "QXP"}})["items"];
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[1]["path"], "\\Common");
    EXPECT_EQ(roots[1]["repositobjid"], 2);
    EXPECT_EQ(s_client->request({{"op", "items"}, {"project", "Empty"}})["items"], json::array());
    EXPECT_TRUE(s_client
                    ->request({{"op", "chooseVersions"},
                               {"project", "QXP_OLD"},
                               {"parentPath", "\\QXRepo"},
                               {"itemName", "*"},
                               {"recursive", true}})["versions"]
                    .empty())
        << "QXP_OLD does not see QXRepo";
}
