// Clients that are slow, many or guessing: none of them may freeze or lock out the others.
#include "BrokerProcess.h"
#include "Database.h"
#include "Peer.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <thread>

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace
{

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Waits (bounded) until the broker's log holds `part` `times` times.
bool logged(const BrokerProcess& broker, const std::string& part, std::size_t times = 1,
            double wait = 5)
{
    const auto end = Clock::now() + std::chrono::duration<double>(wait);
    while (count(broker.log(), part) < times)
    {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

// The failure first seen: a client asks again and again for a reservation that exists and stops
// reading. It used to get its refusal sent inside the write transaction, so everybody's check-out
// and check-in failed after 30 s with "database is locked" and new logins hung. (Its own deadline
// is the next test's business; here it keeps the default of a minute.)
TEST(Robustness, AStalledReaderDelaysNobodyElse)
{
    BrokerProcess broker;
    const WorkFolder folder;
    const std::string& work = folder.path;
    auto dev2 = broker.login("dev2", "dev2pw", "DEV2-PC");
    ASSERT_EQ(dev2->request(checkoutRequest({1}, "\\QXRepo", "C:\\W", 3))["result"], 0);

    Peer stalled(broker.port(), "127.0.0.1", 4096);
    ASSERT_EQ(stalled.login("dev1", "dev1pw")["ok"], true);
    const std::string refused = frame(checkoutRequest({1}, "\\QXRepo", "C:\\S", 3).dump());
    // Requests until neither side's buffers take more: the broker is stuck sending.
    const auto filling = Clock::now();
    std::size_t stuckFor = 0;
    std::size_t at = 0;
    while (stuckFor < 10 && since(filling) < 3)
    {
        const ssize_t n = ::send(stalled.fd(), refused.data() + at, refused.size() - at,
                                 MSG_DONTWAIT | MSG_NOSIGNAL);
        stuckFor = n > 0 ? 0 : stuckFor + 1;
        if (n > 0)
            at = (at + static_cast<std::size_t>(n)) % refused.size();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(stuckFor, 10u) << "the broker kept reading";

    // Meanwhile everybody else is served at once.
    auto start = Clock::now();
    ASSERT_EQ(dev2->request(checkoutRequest({3}, "\\QXRepo", work, 2))["result"], 0)
        << json(dev2->messages()).dump();
    std::ofstream(work + "/Proj1/Screen1.xml") << "changed while someone stalls";
    ASSERT_EQ(dev2->request(checkinRequest({"Proj1\\Screen1.xml"}, "\\QXRepo", work, 0))["result"],
              0)
        << json(dev2->messages()).dump();
    EXPECT_EQ(broker.login("dev1", "dev1pw")->request({{"op", "ping"}})["ok"], true);
    EXPECT_LT(since(start), 0.9) << "check-out, check-in and login waited for the stalled client";

    // Starting a session takes no write lock either: a login goes through while one is held.
    {
        Database writer(Repository::databasePath(broker.dataDir()), false);
        writer.exec("BEGIN IMMEDIATE");
        start = Clock::now();
        auto late = broker.login("dev2", "dev2pw");
        EXPECT_EQ(late->request(qxpRequest("packages"))["names"].size(), 2u);
        EXPECT_LT(since(start), 1.0);
        writer.exec("ROLLBACK");
    }
}

// Sockets that connect and say nothing (or half a frame) cost a little memory each and never keep
// a real client from logging in; past the cap the oldest of them make room.
TEST(Robustness, AThousandIdleConnectionsDoNotStarveALoginAndCostLittleMemory)
{
    constexpr int Idle = 1000;
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < 2 * Idle + 100 && limit.rlim_max >= 2 * Idle + 100)
    {
        limit.rlim_cur = 2 * Idle + 100;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    ASSERT_GE(limit.rlim_cur, static_cast<rlim_t>(Idle + 100)) << "descriptor limit too low";
    BrokerProcess broker({"--max-unauthenticated", std::to_string(Idle), "--login-timeout", "60"});
    const WorkFolder folder;
    const std::string& work = folder.path;
    ASSERT_EQ(broker.login("dev1", "dev1pw")->request({{"op", "ping"}})["ok"], true);
    const long before = broker.residentKb();

    std::vector<std::unique_ptr<Peer>> idle;
    const std::string half = loginFrame("dev1", "dev1pw").substr(0, 30);
    for (int i = 0; i < Idle; ++i)
    {
        idle.push_back(std::make_unique<Peer>(broker.port()));
        if (i % 2)
            idle.back()->send(half);
    }
    // One more: the broker accepts in order, so when it answers, it holds all of the others.
    const auto start = Clock::now();
    auto dev1 = broker.login("dev1", "dev1pw");
    ASSERT_EQ(dev1->request(checkoutRequest({3}, "\\QXRepo", work, 1))["result"], 0);
    EXPECT_LT(since(start), 2.0) << "login and check-out behind " << Idle << " idle sockets";
    EXPECT_TRUE(fs::exists(work + "/Proj1/Screen1.xml"));

    const long after = broker.residentKb();
    const double perConnection = static_cast<double>(after - before) * 1024 / Idle;
    EXPECT_LT(perConnection, 16 * 1024);

    // The newest client took the place of the oldest silent one; the rest stay connected.
    EXPECT_TRUE(idle.front()->closed(2));
    EXPECT_TRUE(logged(broker, "evicted, the oldest of 1000 connections waiting for a login"));
    EXPECT_EQ(idle.back()->read(0.05), "silent");
}

// Every connection has a deadline: the login, the rest of a frame, an idle session, a reply or a
// check-out file the peer does not read, the answer a check-out waits for; each cut is one line in
// the log. A client that keeps asking keeps its session.
TEST(Robustness, DeadlinesCutSilentHalfSentIdleAndNonReadingPeersWithALogLine)
{
    BrokerProcess broker(
        {"--login-timeout", "0.5", "--idle-timeout", "1", "--stall-timeout", "0.5"});
    const json big =
        broker.login("harvest", "harvest")
            ->request(
                {{"op", "admin.createItem"}, {"folder", "\\Common\\Lib"}, {"name", "big.bin"}},
                std::string(8 << 20, 'b'));
    ASSERT_EQ(big["ok"], true) << big.dump();
    const auto connected = Clock::now();
    Peer silent(broker.port());
    Peer halfLogin(broker.port());
    halfLogin.send(loginFrame("dev1", "dev1pw").substr(0, 12));
    Peer idle(broker.port()), halfFrame(broker.port()), busy(broker.port()),
        notReading(broker.port(), "127.0.0.1", 4096), fileNotRead(broker.port(), "127.0.0.1", 4096),
        noAnswer(broker.port());
    ASSERT_EQ(idle.login("dev1", "dev1pw")["ok"], true);
    const auto idleSince = Clock::now();
    for (Peer* p : {&halfFrame, &busy, &notReading, &fileNotRead, &noAnswer})
        ASSERT_EQ(p->login("dev1", "dev1pw")["ok"], true);
    const auto loggedIn = Clock::now();
    halfFrame.send(frame(R"({"op":"ping"})").substr(0, 10));
    // About 8 MB of reply that is never read.
    notReading.send(frame(R"({"op":"sql","statement":"select hex(zeroblob(4000000)) as x"})"));
    // An 8 MB check-out file that is never read, and one that is never answered.
    fileNotRead.send(frame(checkoutRequest({big["versionobjid"]}, "\\Common", "C:\\W", 1).dump()));
    noAnswer.send(frame(checkoutRequest({3}, "\\QXRepo", "C:\\W", 1).dump()));
    EXPECT_NE(noAnswer.read().find("\"file\""), std::string::npos);

    struct Expected
    {
        Peer* peer;
        Clock::time_point from;
        double after;
        const char* name;
    };
    const Expected cut[] = {{&silent, connected, 0.5, "silent"},
                            {&halfLogin, connected, 0.5, "half a login"},
                            {&halfFrame, loggedIn, 0.5, "half a frame"},
                            {&idle, idleSince, 1.0, "idle"}};
    std::vector<std::thread> watchers;
    std::vector<double> closedAfter(std::size(cut), -1);
    for (std::size_t i = 0; i < std::size(cut); ++i)
        watchers.emplace_back(
            [&, i]
            {
                if (cut[i].peer->closed(3))
                    closedAfter[i] = since(cut[i].from);
            });
    while (since(loggedIn) < 1.6)
    {
        ASSERT_EQ(busy.request({{"op", "ping"}})["ok"], true) << "after " << since(loggedIn);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    for (auto& w : watchers)
        w.join();
    for (std::size_t i = 0; i < std::size(cut); ++i)
    {
        EXPECT_GE(closedAfter[i], cut[i].after - 0.05) << cut[i].name;
        EXPECT_LE(closedAfter[i], cut[i].after + 0.6) << cut[i].name;
    }
    const std::string log = broker.log();
    EXPECT_EQ(count(log, ": no login within 500 ms"), 2u) << log;
    EXPECT_EQ(count(log, "(dev1): a frame stayed incomplete for 500 ms"), 1u) << log;
    EXPECT_EQ(count(log, "(dev1): idle for 1 s"), 1u) << log;
    EXPECT_EQ(count(log, "(dev1): the peer read nothing for 500 ms"), 2u) << log;
    EXPECT_EQ(count(log, "(dev1): the peer sent nothing for 500 ms"), 1u) << log;
    EXPECT_EQ(count(log, "harbroker: closed"), 7u) << log;
}

// Guessing passwords: a few failures are answered at once, the next ones are held back longer
// and longer (by the broker, not by a sleeping thread), then the name or address is refused for
// the lock time, alike for known and unknown names. A machine the user has logged in from before
// stays usable, and an administrator can lift the lock.
TEST(Robustness, LoginThrottlingSlowsThenRefusesForAWhileAndCanBeCleared)
{
    BrokerProcess broker({"--login-free-failures", "2", "--login-delay", "0.4",
                          "--login-lock-failures", "4", "--login-lock-time", "1", "--workers",
                          "1"});
    ASSERT_EQ(Peer(broker.port(), "127.0.0.1").login("dev1", "dev1pw")["ok"], true);

    // Two guessers at once: dev1 (a real user) from one address, "nobody" from another.
    struct Guess
    {
        json reply;
        double took = 0;
        Clock::time_point done;
    };
    std::vector<Guess> dev1(4), nobody(4);
    auto guess =
        [&](std::vector<Guess>& replies, int i, const std::string& user, const std::string& from)
    {
        Peer p(broker.port(), from);
        const auto start = Clock::now();
        replies[i].reply = p.login(user, "guess" + std::to_string(i));
        replies[i].done = Clock::now();
        replies[i].took = since(start);
    };
    for (int i = 0; i < 4; ++i)
    {
        std::thread first([&] { guess(dev1, i, "dev1", "127.0.0.2"); });
        std::thread second([&] { guess(nobody, i, "nobody", "127.0.0.4"); });
        if (i == 2)
        {
            // Both guesses are held now; another user's login overtakes them on the one worker.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(Peer(broker.port(), "127.0.0.3").login("dev2", "dev2pw")["ok"], true);
            const auto overtaken = Clock::now();
            first.join();
            second.join();
            EXPECT_LT(overtaken, dev1[2].done);
            EXPECT_LT(overtaken, nobody[2].done);
            continue;
        }
        first.join();
        second.join();
    }
    const Clock::time_point locked = nobody[3].done;
    for (const std::vector<Guess>* replies : {&dev1, &nobody})
    {
        for (const Guess& g : *replies)
        {
            EXPECT_EQ(g.reply["code"], "auth");
            EXPECT_EQ(g.reply["error"], dev1[0].reply["error"]);
        }
        EXPECT_LT((*replies)[0].took, 0.4);
        EXPECT_LT((*replies)[1].took, 0.4);
        EXPECT_GE((*replies)[2].took, 0.35) << "the third failure waits for the delay";
        EXPECT_GE((*replies)[3].took, 0.75) << "and the delay doubles";
    }
    EXPECT_TRUE(logged(broker, "login of user:dev1 locked for 1 s after 4 failures"))
        << broker.log();

    // Locked: refused at once, even with the right password, the same for both names.
    const json lockedDev1 = Peer(broker.port(), "127.0.0.2").login("dev1", "dev1pw");
    const json lockedNobody = Peer(broker.port(), "127.0.0.4").login("nobody", "x");
    EXPECT_EQ(lockedDev1["code"], "throttled");
    EXPECT_GE(lockedDev1.value("retryAfter", 0), 1);
    EXPECT_EQ(lockedNobody["code"], "throttled");
    EXPECT_EQ(lockedNobody["error"], lockedDev1["error"]);
    EXPECT_EQ(Peer(broker.port(), "127.0.0.5").login("dev1", "dev1pw")["code"], "throttled");
    // dev1's own machine is not locked out by someone else's guessing.
    EXPECT_EQ(Peer(broker.port(), "127.0.0.1").login("dev1", "dev1pw")["ok"], true);

    // harvadm lifts dev1's lock (the broker reads it from the database).
    EXPECT_EQ(broker.harvadm("list logins | grep -q 'user:nobody.*locked until'"), 0);
    EXPECT_EQ(broker.harvadm("op clearLoginFailures '{\"user\":\"dev1\"}'"), 0);
    EXPECT_EQ(Peer(broker.port(), "127.0.0.5").login("dev1", "dev1pw")["ok"], true);

    // The lock ends as configured (1 s after the fourth failure); the count is still remembered,
    // so one more failure locks again at once.
    while (Peer(broker.port(), "127.0.0.4").login("nobody", "x")["code"] == "throttled")
    {
        ASSERT_LT(since(locked), 3.0) << "the lock did not end";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_GE(since(locked), 0.9);
    EXPECT_EQ(Peer(broker.port(), "127.0.0.4").login("nobody", "x")["code"], "throttled");
}

// One SQL reply must fit in one frame header: a larger result is refused with code "sql", counted
// in bytes (not rows) and never cut short.
TEST(Robustness, SqlResultsOverTheFrameLimitAreRefusedNotTruncated)
{
    BrokerProcess broker;
    auto dev1 = broker.login("dev1", "dev1pw");
    auto sql = [&](const std::string& statement) {
        return dev1->request({{"op", "sql"}, {"statement", statement}});
    };

    const json fits = sql("select hex(zeroblob(8000000)) as x");
    ASSERT_EQ(fits["ok"], true);
    EXPECT_EQ(fits["data"]["X"][0].get<std::string>().size(), 16000000u);

    const char* tooLarge[] = {
        // one 32 MiB value
        "select hex(zeroblob(16777216)) as x",
        // 150,000 rows of 120 bytes: under the row limit, over the byte limit
        "with recursive c(n) as (select 1 union all select n + 1 from c where n < 150000) "
        "select hex(zeroblob(60)) as h from c",
        // 3 MB of text that JSON escapes to 18 MB
        "select replace(hex(zeroblob(1500000)), '0', char(1)) as x",
    };
    for (const char* statement : tooLarge)
    {
        const json reply = sql(statement);
        EXPECT_EQ(reply["code"], "sql") << statement;
        EXPECT_NE(reply.value("error", "").find("16 MiB"), std::string::npos) << reply.dump();
    }
    EXPECT_EQ(sql("select count(*) as n from haritems")["data"]["N"][0], 30);
}
