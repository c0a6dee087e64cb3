#include "BrokerProcess.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace
{

using Names = std::vector<std::string>;

// One broker for every case: choosing changes nothing.
BrokerClient& client()
{
    static BrokerProcess broker;
    static std::unique_ptr<BrokerClient> dev1 = broker.login("dev1", "dev1pw");
    return *dev1;
}

// "path;version" of every chosen version, in the order chosen.
Names choose(json fields)
{
    const json reply = client().request(qxpRequest("chooseVersions", std::move(fields)));
    EXPECT_EQ(reply["ok"], true) << reply.dump();
    Names chosen;
    for (const json& v : reply["versions"])
        chosen.push_back(v["fullPath"].get<std::string>() + ";" + v["version"].get<std::string>());
    return chosen;
}

json with(json base, const json& more)
{
    base.update(more);
    return base;
}

} // namespace

TEST(Chooser, RecursiveListingPutsTheFolderFirstThenSubFoldersInPathOrder)
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
    EXPECT_TRUE(choose({{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "Main.xml"}}).empty())
        << "not recursive";
    EXPECT_TRUE(
        choose({{"parentPath", "\\QXRepo\\Proj1"}, {"itemName", "main.xml"}, {"recursive", true}})
            .empty());
    const json old = client().request({{"op", "chooseVersions"},
                                       {"project", "QXP_OLD"},
                                       {"parentPath", "\\QXRepo"},
                                       {"itemName", "*"},
                                       {"recursive", true}});
    EXPECT_EQ(old["versions"], json::array()) << "QXP_OLD does not see QXRepo";
}

TEST(Chooser, VersionOptionsPickTheLatestTheLatestNormalOrThePackagesLatest)
{
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
