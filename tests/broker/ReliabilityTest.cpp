#include "BrokerProcess.h"
#include "Database.h"
#include "ProcessChannel.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace fs = std::filesystem;
using nlohmann::json;

TEST(Reliability, ConcurrentReservationsOfOneItemHaveExactlyOneWinner)
{
    BrokerProcess broker;
    constexpr int Clients = 6;
    std::vector<std::unique_ptr<BrokerClient>> clients;
    for (int i = 0; i < Clients; ++i)
        clients.push_back(broker.login(i % 2 ? "dev2" : "dev1", i % 2 ? "dev2pw" : "dev1pw",
                                       "PC" + std::to_string(i)));
    // Each round races every client for one more item.
    for (std::int64_t version : {1, 2, 3, 18, 19})
    {
        std::vector<json> replies(Clients);
        std::vector<std::vector<json>> messages(Clients);
        std::vector<std::thread> threads;
        for (int i = 0; i < Clients; ++i)
            threads.emplace_back(
                [&, i]
                {
                    replies[i] = clients[i]->request(
                        checkoutRequest({version}, "\\QXRepo", "C:\\W" + std::to_string(i), 3));
                    messages[i] = clients[i]->messages();
                });
        for (auto& t : threads)
            t.join();
        int winners = 0;
        for (int i = 0; i < Clients; ++i)
        {
            ASSERT_EQ(replies[i]["ok"], true) << replies[i].dump();
            if (replies[i]["result"] == 0)
                ++winners;
            else
                EXPECT_EQ(messages[i].at(0)["key"], "HSRV_E_RESERVED_VERSION_EXIST");
        }
        EXPECT_EQ(winners, 1) << "version " << version;
    }
}

TEST(Reliability, KilledBrokerKeepsEveryReportedCheckInAndRestarts)
{
    BrokerProcess broker;
    const WorkFolder folder;
    const std::string& work = folder.path;
    std::vector<std::string> files;
    // More than the broker asks for ahead of its messages, so that some are left when it dies.
    for (int i = 0; i < 160; ++i)
    {
        files.push_back("file" + std::to_string(i) + ".xml");
        std::ofstream(work + "/" + files.back(), std::ios::binary)
            << std::string(20000 + i, static_cast<char>('a' + i % 26));
    }
    auto dev1 = broker.login("dev1", "dev1pw");
    std::vector<std::string> reported;
    dev1->onEvent(
        [&](const json& event)
        {
            if (event["event"] == "message" && event["key"] == "HSRV_I_CHECKIN")
            {
                reported.push_back(event["args"][1]);
                if (reported.size() == 15)
                    broker.stop(SIGKILL);
            }
        });
    EXPECT_ANY_THROW(dev1->request(checkinRequest(files, "\\Common\\Lib", work, 0)));
    // Messages already received when the broker died are reported too.
    ASSERT_GE(reported.size(), 15u);

    broker.start();
    {
        Database db(Repository::databasePath(broker.dataDir()), true);
        Statement check = db.prepare("PRAGMA integrity_check");
        check.step();
        EXPECT_EQ(check.text(0), "ok");
    }
    auto again = broker.login("dev1", "dev1pw");
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < files.size(); ++i)
    {
        const json chosen =
            again->request(qxpRequest("chooseVersions", {{"parentPath", "\\Common\\Lib"},
                                                         {"itemName", files[i]}}))["versions"];
        if (i < reported.size())
        {
            EXPECT_EQ(reported[i], "\\Common\\Lib\\" + files[i] + ";0");
            ASSERT_EQ(chosen.size(), 1u) << files[i];
        }
        // The broker takes files ahead of their messages, so an unreported one may be stored
        // too; as "Lost replies" says, its item tells, and what is missing is sent again.
        if (chosen.empty())
            rest.push_back(files[i]);
        else
            EXPECT_EQ(chosen[0]["size"], 20000 + static_cast<int>(i)) << "stored whole or not";
    }
    ASSERT_FALSE(rest.empty()) << "the broker died in the middle of the list";
    json resend = checkinRequest(rest, "\\Common\\Lib", work, 0);
    resend["itemOption"] = 1;
    EXPECT_EQ(again->request(resend)["result"], 0) << again->messages().front().dump();
}

namespace
{

std::string fileName(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "f%03d.xml", i);
    return name;
}

// The latest version of every file in a folder below \QXRepo, in name order.
json versions(BrokerClient& user, const std::string& folder)
{
    return user.request(qxpRequest(
        "chooseVersions", {{"parentPath", "\\QXRepo\\" + folder}, {"itemName", "*"}}))["versions"];
}

// A folder of `count` new one-version files below \QXRepo; their version ids in name order.
std::vector<std::int64_t> manyFiles(BrokerProcess& broker, BrokerClient& user,
                                    const std::string& folder, int count)
{
    auto admin = broker.login("harvest", "harvest");
    admin->request({{"op", "admin.createFolder"}, {"path", "\\QXRepo\\" + folder}});
    for (int i = 0; i < count; ++i)
        admin->request(
            {{"op", "admin.createItem"}, {"folder", "\\QXRepo\\" + folder}, {"name", fileName(i)}},
            std::string(100 + i, 'x'));
    std::vector<std::int64_t> ids;
    for (const json& v : versions(user, folder))
        ids.push_back(v["objid"]);
    return ids;
}

// Which of the folder's files (in name order) dev1 holds reserved.
std::vector<bool> reservedByDev1(BrokerClient& user, const std::string& folder)
{
    std::vector<bool> reserved;
    for (const json& v : versions(user, folder))
        reserved.push_back(v["status"] == "R" && v["modifier"] == "dev1");
    return reserved;
}

} // namespace

// Check-out files stream ahead of their answers. Each file's message still comes in the order of
// the files, a file the client could not write is reported as such and keeps no reservation, and
// a client that drops leaves reserved only what it was told of and the files it had been sent.
TEST(Reliability, StreamedCheckOutReportsEveryFileInOrderAndADropLeavesAtMostTheWindow)
{
    BrokerProcess broker;
    const WorkFolder folder;
    const std::string& work = folder.path;
    auto dev1 = broker.login("dev1", "dev1pw");
    constexpr int Files = 3 * static_cast<int>(ProcessChannel::FilesAhead);

    const auto written = manyFiles(broker, *dev1, "Written", Files);
    const std::set<int> unwritable = {10, 100, Files - 1};
    // A folder where a file should go makes its write fail.
    for (int i : unwritable)
        fs::create_directories(work + "/" + fileName(i));
    EXPECT_EQ(
        dev1->request(checkoutRequest(written, "\\QXRepo\\Written", work, 2, false))["result"], 1);
    const std::vector<json> messages = dev1->messages();
    ASSERT_EQ(messages.size(), static_cast<std::size_t>(Files));
    const auto reserved = reservedByDev1(*dev1, "Written");
    for (int i = 0; i < Files; ++i)
    {
        const std::string path = "\\QXRepo\\Written\\" + fileName(i);
        const bool failed = unwritable.count(i) > 0;
        EXPECT_EQ(messages[i]["key"], failed ? "HSRV_E_FA" : "HSRV_I_CHECKOUT") << i;
        EXPECT_EQ(messages[i]["args"][0], failed ? path : path + ";1") << i;
        EXPECT_EQ(reserved[i], !failed) << "only files written keep their reservation: " << i;
    }

    const auto dropped = manyFiles(broker, *dev1, "Dropped", Files);
    auto leaving = broker.login("dev1", "dev1pw");
    constexpr int FilesTaken = 20;
    int files = 0;
    std::set<std::string> told;
    leaving->onEvent(
        [&](const json& event)
        {
            if (event["event"] == "message")
                told.insert(event["args"][0].get<std::string>());
            if (event["event"] != "file")
                return;
            // A slow first write: the broker runs as far ahead as it may meanwhile.
            if (++files == 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (files == FilesTaken)
                throw std::runtime_error("the client goes away");
        });
    EXPECT_ANY_THROW(leaving->request(
        checkoutRequest(dropped, "\\QXRepo\\Dropped", work + "/dropped", 2, false)));
    leaving.reset();
    const auto held = reservedByDev1(*dev1, "Dropped");
    const auto firstFree = std::find(held.begin(), held.end(), false) - held.begin();
    EXPECT_TRUE(std::none_of(held.begin() + firstFree, held.end(), [](bool r) { return r; }))
        << "files reserved out of order";
    EXPECT_GE(firstFree, FilesTaken) << "a file sent before its reservation";
    EXPECT_LE(firstFree, FilesTaken - 1 + static_cast<int>(ProcessChannel::FilesAhead))
        << "more reserved than the answers received and the window allow";
    for (const std::string& item : told)
        EXPECT_TRUE(held[std::stoi(item.substr(item.find("\\f") + 2, 3))]) << item;
}
