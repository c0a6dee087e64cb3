#include "BrokerProcess.h"

#include "Database.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using nlohmann::json;

namespace
{

using Strings = std::vector<std::string>;

class ProcessTest : public ::testing::Test
{
protected:
    std::string dir(const std::string& name)
    {
        fs::create_directories(m_work.path + "/" + name);
        return m_work.path + "/" + name;
    }

    static std::vector<std::int64_t> ids(BrokerClient& c, const std::string& parent,
                                         const std::string& item, int versionOption = 0x100)
    {
        const json reply =
            c.request(qxpRequest("chooseVersions", {{"parentPath", parent},
                                                    {"itemName", item},
                                                    {"recursive", true},
                                                    {"versionOption", versionOption}}));
        std::vector<std::int64_t> chosen;
        for (const json& v : reply["versions"])
            chosen.push_back(v["objid"]);
        return chosen;
    }

    // Every version of the item, oldest first.
    static json all(BrokerClient& c, const std::string& parent, const std::string& item)
    {
        return c.request(qxpRequest(
            "chooseVersions",
            {{"parentPath", parent}, {"itemName", item}, {"versionOption", 1}}))["versions"];
    }
    static json latest(BrokerClient& c, const std::string& parent, const std::string& item)
    {
        const json versions = all(c, parent, item);
        return versions.empty() ? json() : versions.back();
    }

    // Runs a process request and gives its result code.
    static int run(BrokerClient& c, const json& request)
    {
        const json reply = c.request(request);
        EXPECT_EQ(reply["ok"], true) << reply.dump();
        return reply.value("result", -1);
    }

    static int checkout(BrokerClient& c, const std::vector<std::int64_t>& versions,
                        const std::string& clientDir, int mode, const json& more = json::object())
    {
        json request = checkoutRequest(versions, "\\QXRepo\\Proj1", clientDir, mode);
        request.update(more);
        return run(c, request);
    }

    static int checkin(BrokerClient& c, const Strings& files, const std::string& clientDir,
                       int mode, const std::string& viewPath = "\\QXRepo\\Proj1",
                       int itemOption = 0, int pathOption = 1)
    {
        json request = checkinRequest(files, viewPath, clientDir, mode);
        request.update({{"itemOption", itemOption}, {"pathOption", pathOption}});
        return run(c, request);
    }

    // Each message as its key followed by its arguments, joined by " | ".
    static Strings messages(const BrokerClient& c)
    {
        Strings lines;
        for (const json& m : c.messages())
        {
            std::string line = m["key"];
            for (const json& a : m["args"])
                line += " | " + a.get<std::string>();
            lines.push_back(line);
        }
        return lines;
    }

    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void write(const std::string& path, const std::string& bytes)
    {
        fs::create_directories(fs::path(path).parent_path());
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ignored);
        std::ofstream(path, std::ios::binary) << bytes;
    }

    BrokerProcess m_broker;
    WorkFolder m_work;
    std::unique_ptr<BrokerClient> dev1 = m_broker.login("dev1", "dev1pw", "TESTPC");
    std::unique_ptr<BrokerClient> dev2 = m_broker.login("dev2", "dev2pw", "DEV2-PC");
};

const std::string Main = "\\QXRepo\\Proj1\\Screens\\Main.xml";

} // namespace

TEST_F(ProcessTest, UpdateReservesForOneHolderWhoseOwnCopyARefreshNeverOverwrites)
{
    const std::string work = dir("a");
    ASSERT_EQ(checkout(*dev1, ids(*dev1, "\\QXRepo\\Proj1", "Main.xml"), work, 2), 0);
    const std::string wireLocal = work + "\\Screens\\Main.xml";
    EXPECT_EQ(latest(*dev1, "\\QXRepo\\Proj1\\Screens", "Main.xml")["clientPath"], wireLocal)
        << "joined as text, never canonicalised";

    EXPECT_EQ(checkout(*dev1, ids(*dev1, "\\QXRepo\\Proj1", "Main.xml"), work, 3), 1)
        << "even its holder";

    write(work + "/Screens/Main.xml", "work in progress");
    EXPECT_EQ(checkout(*dev1, ids(*dev1, "\\QXRepo\\Proj1", "*", 0x1000), work, 4), 3);
    EXPECT_EQ(read(work + "/Screens/Main.xml"), "work in progress");
    const Strings lines = messages(*dev1);
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  "HSRV_I_MESSAGE | " + wireLocal + " is checked out by you and was left as it is"),
        lines.end());
    // The same user on another computer holds nothing there.
    auto elsewhere = m_broker.login("dev1", "dev1pw", "LAPTOP");
    EXPECT_EQ(checkout(*elsewhere, ids(*elsewhere, "\\QXRepo\\Proj1", "Main.xml", 0x1000), work, 1),
              0);
    EXPECT_EQ(read(work + "/Screens/Main.xml"), "Main.xml 10\r\n");
}

TEST_F(ProcessTest, BrowseReplacesChangedCopiesOnlyWhenAskedEvenReadOnlyOnes)
{
    const std::string work = dir("w");
    const auto proj1 = ids(*dev1, "\\QXRepo\\Proj1", "*");
    ASSERT_EQ(checkout(*dev1, proj1, work, 1), 0);
    // Changed copies are left alone when replacing is off.
    write(work + "/Screen1.xml", "local edit");
    EXPECT_EQ(checkout(*dev1, proj1, work, 4, {{"replaceFile", false}}), 3);
    EXPECT_EQ(read(work + "/Screen1.xml"), "local edit");

    fs::permissions(work + "/Screen1.xml", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(checkout(*dev1, ids(*dev1, "\\QXRepo\\Proj1", "Screen1.xml"), work, 4), 0);
    EXPECT_EQ(read(work + "/Screen1.xml"), "Screen1.xml 0\r\n")
        << "replacing overwrites read-only files";
}

TEST_F(ProcessTest, CheckInStoresReleasesAndKeepsReservations)
{
    const std::string work = dir("w");
    const std::string screens = "\\QXRepo\\Proj1\\Screens";
    ASSERT_EQ(checkout(*dev1, ids(*dev1, screens, "Main.xml"), work, 2, {{"viewPath", screens}}),
              0);
    write(work + "/Main.xml", "Main.xml edited\r\n");
    ASSERT_EQ(checkin(*dev1, {"Main.xml"}, work, 1, screens), 0);
    const json versions = all(*dev1, screens, "Main.xml");
    ASSERT_EQ(versions.size(), 13u);
    EXPECT_EQ(versions[11]["size"], 17);
    EXPECT_EQ(versions[12]["status"], "R") << "mode 1 keeps the item reserved";
    EXPECT_EQ(versions[12]["version"], "12");

    // Unchanged content stores nothing new and, in mode 0, releases.
    ASSERT_EQ(checkin(*dev1, {"Main.xml"}, work, 0, screens), 0);
    EXPECT_EQ(messages(*dev1), (Strings{"HSRV_I_CHECKIN_NO_CHANGES | " + work + "\\Main.xml",
                                        "HSRV_I_CHECKIN_RELEASE | " + Main}));
    EXPECT_EQ(latest(*dev1, screens, "Main.xml")["version"], "11");

    EXPECT_EQ(checkin(*dev1, {"Main.xml"}, work, 0, screens), 1);
    EXPECT_EQ(messages(*dev1), Strings{"HSRV_E_CHECKIN_NOT_RESERVED | " + work + "\\Main.xml"});
    EXPECT_EQ(latest(*dev1, screens, "Main.xml")["version"], "11");
}

TEST_F(ProcessTest, CheckInRefusesWhatItMayNotStoreButStillHandlesTheRestOfTheList)
{
    const std::string work = dir("w");
    write(work + "/Order.xml", "mine now");
    write(work + "/Fresh.xml", "fresh");
    EXPECT_EQ(checkin(*dev1, {"Order.xml", "Fresh.xml", "Gone.xml"}, work, 0, "\\QXRepo\\Proj2"),
              1);
    const Strings lines = messages(*dev1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "HSRV_E_CHECKIN_BY_OWNER_ONLY | \\QXRepo\\Proj2\\Order.xml");
    EXPECT_EQ(lines[1], "HSRV_I_CHECKIN | " + work + "\\Fresh.xml | \\QXRepo\\Proj2\\Fresh.xml;0");
    EXPECT_EQ(lines[2].rfind("HSRV_E_FA | " + work + "\\Gone.xml", 0), 0u);
    EXPECT_EQ(latest(*dev1, "\\QXRepo\\Proj2", "Order.xml")["modifier"], "dev2");

    // dev2 may release without checking anything in.
    EXPECT_EQ(checkin(*dev2, {"Order.xml"}, work, 2, "\\QXRepo\\Proj2"), 0);
    EXPECT_EQ(messages(*dev2), Strings{"HSRV_I_CHECKIN_RELEASE | \\QXRepo\\Proj2\\Order.xml"});
    EXPECT_EQ(latest(*dev1, "\\QXRepo\\Proj2", "Order.xml")["status"], "N");

    // The item and path options decide where and whether files go.
    write(work + "/Screen1.xml", "x");
    write(work + "/Sub/Deep/New.xml", "deep");
    const std::string deep = work + "\\Sub\\Deep\\New.xml";
    EXPECT_EQ(checkin(*dev1, {"Screen1.xml"}, work, 0, "\\QXRepo\\Proj1", 1), 1);
    EXPECT_EQ(messages(*dev1),
              Strings{"HSRV_E_CHECKIN_NEW_ITEMS_ONLY | " + work + "\\Screen1.xml"});
    EXPECT_EQ(checkin(*dev1, {"Sub\\Deep\\New.xml"}, work, 0, "\\QXRepo\\Proj1", 2), 1);
    EXPECT_EQ(messages(*dev1), Strings{"HSRV_E_CHECKIN_EXISTING_ITEMS_ONLY | " + deep});
    EXPECT_EQ(checkin(*dev1, {"Sub\\Deep\\New.xml"}, work, 0, "\\QXRepo\\Proj1", 0, 0), 1);
    EXPECT_EQ(messages(*dev1), Strings{"HSRV_E_CHECKIN_CREATE_PATH | " + deep});
    EXPECT_TRUE(ids(*dev1, "\\QXRepo\\Proj1", "New.xml").empty()) << "refusals store nothing";

    EXPECT_EQ(checkin(*dev1, {"Sub\\Deep\\New.xml"}, work, 1, "\\QXRepo\\Proj1", 0, 1), 0);
    EXPECT_EQ(latest(*dev1, "\\QXRepo\\Proj1\\Sub\\Deep", "New.xml")["status"], "R");
    EXPECT_EQ(checkin(*dev1, {"Sub\\Deep\\New.xml"}, work, 0, "\\QXRepo\\Docs", 0, 2), 0);
    EXPECT_FALSE(latest(*dev1, "\\QXRepo\\Docs", "New.xml").is_null());
    EXPECT_EQ(checkin(*dev1, {}, work, 0), 1);
    EXPECT_EQ(messages(*dev1), Strings{"HSRV_E_CHECKIN_NO_FILES"});
}

TEST_F(ProcessTest, FolderCreationRenameAndRemoveRefuseWhatTheyCannotDo)
{
    const json blocked = dev1->request(qxpRequest(
        "createPath",
        {{"process", "CheckIn"}, {"parentPath", "\\QXRepo"}, {"path", "Main.qxsln\\X"}}));
    EXPECT_EQ(blocked["result"], 1) << "a file is in the way";

    auto change = [&](const char* op, const char* process, const json& fields)
    {
        json request = qxpRequest(op, fields);
        request["process"] = process;
        return dev1->request(request);
    };
    const json intoProj2 = {{"itemPath", "\\QXRepo"}, {"name", "Proj1"}, {"newName", "Proj2"}};
    EXPECT_EQ(change("renameItem", "RenameItem", intoProj2)["result"], 1);
    EXPECT_EQ(change("renameItem", "CheckOut", intoProj2)["code"], "notFound")
        << "the process must be of the right kind";
    const json proj1 = {{"itemPath", "\\QXRepo"}, {"name", "Proj1"}};
    EXPECT_EQ(change("removeItem", "RemoveItem", proj1)["result"], 0);
    const json left = dev1->request(
        {{"op", "sql"},
         {"statement", "select itemname from haritems where itemname like 'Screen1%'"}});
    EXPECT_EQ(left["rows"], 0) << "a removed folder takes its contents along";
    Database db(Repository::databasePath(m_broker.dataDir()), true);
    Statement kept = db.prepare("SELECT count(*) FROM versions WHERE item = 13");
    kept.step();
    EXPECT_EQ(kept.integer(0), 11) << "versions of removed items stay";
}

// A session keeps the ids of the names it uses; a process or package deleted meanwhile, by another
// session or by harvadm beside the broker, must be refused all the same.
TEST_F(ProcessTest, ProcessesAndPackagesDeletedMeanwhileAreRefusedToASessionThatUsedThem)
{
    const auto main = ids(*dev1, "\\QXRepo\\Proj1\\Screens", "Main.xml");
    EXPECT_EQ(checkout(*dev1, main, dir("a"), 1), 0);
    json withPackage = qxpRequest("context");
    withPackage["package"] = "QXP-002";
    EXPECT_EQ(dev1->request(withPackage)["ok"], true);

    m_broker.login("harvest", "harvest")
        ->request({{"op", "admin.deleteProcess"},
                   {"project", "QXP"},
                   {"state", "Development"},
                   {"name", "CheckOut"}});
    EXPECT_EQ(dev1->request(checkoutRequest(main, "\\QXRepo", dir("b"), 1))["code"], "notFound");
    EXPECT_EQ(m_broker.harvadm("op deletePackage '{\"project\":\"QXP\",\"state\":\"Development\","
                               "\"package\":\"QXP-002\"}'"),
              0);
    EXPECT_EQ(dev1->request(withPackage)["code"], "notFound");
}
