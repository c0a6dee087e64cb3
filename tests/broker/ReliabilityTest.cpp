#include "BrokerProcess.h"
#include "Database.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
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
                        qxpRequest("checkout", {{"process", "CheckOut"},
                                                {"versions", {version}},
                                                {"viewPath", "\\QXRepo"},
                                                {"clientDir", "C:\\W" + std::to_string(i)},
                                                {"mode", 3}}));
                    messages[i] = clients[i]->messages();
                });
        for (auto& t : threads)
            t.join();
        int winners = 0;
        for (int i = 0; i < Clients; ++i)
        {
            ASSERT_EQ(replies[i]["ok"], true) << replies[i].dump();
            if (replies[i]["result"] == 0)
            {
                ++winners;
            }
            else
            {
                ASSERT_EQ(messages[i].size(), 1u);
                EXPECT_EQ(messages[i][0]["key"], "HSRV_E_RESERVED_VERSION_EXIST");
            }
        }
        EXPECT_EQ(winners, 1) << "version " << version;
    }
}

TEST(Reliability, KilledBrokerKeepsEveryReportedCheckInAndRestarts)
{
    BrokerProcess broker;
    char pattern[] = "/tmp/broker-kill.XXXXXX";
    const std::string work = mkdtemp(pattern);
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i)
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
    EXPECT_ANY_THROW(dev1->request(qxpRequest("checkin", {{"process", "CheckIn"},
                                                          {"files", files},
                                                          {"viewPath", "\\Common\\Lib"},
                                                          {"clientDir", work},
                                                          {"mode", 0}})));
    ASSERT_EQ(reported.size(), 15u);

    broker.start();
    {
        Database db(Repository::databasePath(broker.dataDir()), true);
        Statement check = db.prepare("PRAGMA integrity_check");
        check.step();
        EXPECT_EQ(check.text(0), "ok");
    }
    auto again = broker.login("dev1", "dev1pw");
    for (std::size_t i = 0; i < reported.size(); ++i)
    {
        EXPECT_EQ(reported[i], "\\Common\\Lib\\" + files[i] + ";0");
        const json chosen =
            again->request(qxpRequest("chooseVersions", {{"parentPath", "\\Common\\Lib"},
                                                         {"itemName", files[i]}}))["versions"];
        ASSERT_EQ(chosen.size(), 1u) << files[i];
        EXPECT_EQ(chosen[0]["size"], 20000 + static_cast<int>(i));
    }
    // The rest of the list can simply be checked in again.
    const std::vector<std::string> rest(files.begin() + static_cast<long>(reported.size()),
                                        files.end());
    const json reply = again->request(qxpRequest("checkin", {{"process", "CheckIn"},
                                                             {"files", rest},
                                                             {"viewPath", "\\Common\\Lib"},
                                                             {"clientDir", work},
                                                             {"mode", 0},
                                                             {"itemOption", 1}}));
    EXPECT_EQ(reply["result"], 0) << again->messages().front().dump();
    fs::remove_all(work);
}
