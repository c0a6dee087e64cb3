#include "BrokerProcess.h"
#include "Database.h"
#include "FrameSocket.h"
#include "Peer.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <random>

using nlohmann::json;

namespace
{

std::string code(const std::string& header)
{
    const json reply = json::parse(header, nullptr, false);
    return reply.is_object() ? reply.value("code", std::string("ok")) : header;
}

} // namespace

TEST(Session, LoginIsRequiredRefusesBadCredentialsAndStoresOnlySaltedHashes)
{
    BrokerProcess broker;
    auto client = broker.client();
    EXPECT_EQ(client->request({{"op", "projects"}, {"kind", 0}})["code"], "login");
    EXPECT_EQ(client->request({{"op", "ping"}})["ok"], true);
    EXPECT_EQ(client->login("dev1", "dev1pw", "PC")["admin"], false);
    EXPECT_EQ(client->request({{"op", "admin.createProject"}, {"project", "X"}})["code"],
              "forbidden");

    auto admin = broker.login("harvest", "harvest");
    ASSERT_EQ(admin->request(
                  {{"op", "admin.createUser"}, {"user", "twin"}, {"password", "dev1pw"}})["ok"],
              true);
    EXPECT_EQ(broker.snapshot().find("dev1pw"), std::string::npos);
    Database db(Repository::databasePath(broker.dataDir()), true);
    Statement s = db.prepare("SELECT hash FROM users WHERE name IN ('dev1', 'twin') ORDER BY name");
    ASSERT_TRUE(s.step());
    const std::string first = s.text(0);
    EXPECT_EQ(first.rfind("$argon2id$", 0), 0u);
    ASSERT_TRUE(s.step());
    EXPECT_NE(first, s.text(0)) << "the same password must hash differently for two users";
    EXPECT_EQ(broker.login("twin", "dev1pw")->request({{"op", "ping"}})["ok"], true);
}

// Only admin requests carry a payload: before login any payload (or a moderate header) breaks the
// frame limits and closes the connection; after it, a payload on anything else is a protocol error
// and the request is not carried out, not even logout.
TEST(Session, BadFramesGetAnErrorOrAClosedConnectionAndChangeNothing)
{
    BrokerProcess broker;
    const std::string before = broker.snapshot();
    const std::string login = loginFrame("harvest", "harvest");
    const char* ops[] = {"login",         "logout",         "ping",       "projects", "states",
                         "processes",     "packages",       "context",    "items",    "subItems",
                         "sql",           "chooseVersions", "checkout",   "checkin",  "createPath",
                         "deleteVersion", "renameItem",     "removeItem", "fileDone", "file",
                         "noSuchOp"};
    for (const char* op : ops)
    {
        Peer c(broker.port());
        c.send(frame(json{{"op", op}}.dump(), "x"));
        EXPECT_EQ(c.read(), "closed") << op << " before login";
    }
    {
        Peer c(broker.port());
        c.send(frame(std::string(70000, ' ') + "{}"));
        EXPECT_EQ(c.read(), "closed");
    }
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"not JSON", frame("{\"op\":"), "protocol"},
        {"no op", frame(R"({"user":"x"})"), "protocol"},
        {"field of the wrong type", frame(R"({"op":"admin.createProject","project":5})"),
         "protocol"},
        {"deep nesting",
         frame("{\"op\":\"ping\",\"x\":" + std::string(100000, '[') + std::string(100000, ']') +
               "}"),
         "protocol"},
        {"invalid UTF-8", frame("{\"op\":\"admin.createProject\",\"project\":\"\xff\xfe\"}"),
         "protocol"},
        {"unknown op", frame(R"({"op":"dropEverything"})"), "protocol"},
        {"stray process answer", frame(R"({"op":"fileDone","written":true})"), "protocol"},
        {"zero-length header", std::string(8, '\0'), "closed"},
        {"header over the limit", FrameDecoder::prefix(0x7fffffff, 0), "closed"},
        {"payload over the limit", FrameDecoder::prefix(2, 0x7fffffff) + "{}", "closed"},
        {"truncated frame", frame(R"({"op":"admin.createProject","project":"Half"})").substr(0, 20),
         "closed"},
    };
    for (const Case& c : cases)
    {
        Peer connection(broker.port());
        connection.send(login);
        ASSERT_EQ(code(connection.read()), "ok");
        connection.send(c.bytes);
        if (std::string(c.expected) == "closed")
            connection.closeWrite();
        EXPECT_EQ(code(connection.read()), c.expected) << c.name;
        if (std::string(c.expected) != "closed")
        {
            connection.send(frame(R"({"op":"ping"})"));
            EXPECT_EQ(code(connection.read()), "ok") << "connection unusable after: " << c.name;
        }
    }

    Peer c(broker.port());
    c.send(login);
    ASSERT_EQ(code(c.read()), "ok");
    for (const char* op : ops)
    {
        c.send(frame(qxpRequest(op, {{"user", "dev1"}, {"password", "dev1pw"}}).dump(), "x"));
        EXPECT_EQ(code(c.read()), "protocol") << op << " after login";
    }
    c.send(frame(R"({"op":"ping"})"));
    EXPECT_EQ(code(c.read()), "ok") << "the connection stays usable (logout was refused too)";
    EXPECT_EQ(broker.snapshot(), before);
    c.send(frame(R"({"op":"admin.createProject","project":"WithPayload"})", "x"));
    EXPECT_EQ(code(c.read()), "ok") << "admin requests may carry one (and the login stayed)";
}

TEST(FrameDecoder, SplitsStreamsAtAnyBoundary)
{
    const std::string stream =
        frame(R"({"op":"a"})", std::string("\0\1\2", 3)) + frame(R"({"op":"b"})");
    for (std::size_t step = 1; step <= stream.size(); ++step)
    {
        FrameDecoder decoder(FrameLimits::session());
        std::vector<RawFrame> frames;
        for (std::size_t at = 0; at < stream.size(); at += step)
        {
            decoder.append(stream.data() + at, std::min(step, stream.size() - at));
            RawFrame f;
            while (decoder.next(f) == FrameDecoder::Result::Frame)
                frames.push_back(f);
        }
        ASSERT_EQ(frames.size(), 2u) << "step " << step;
        EXPECT_EQ(frames[0].payload, std::string("\0\1\2", 3));
        EXPECT_EQ(frames[1].header, R"({"op":"b"})");
    }
}

// Random and mutated input for a bounded time: the decoder and the header parser must never crash,
// must never buffer past the limits, and must stop at the first broken frame.
TEST(FrameDecoder, SurvivesRandomAndMutatedInput)
{
    std::mt19937 random(20261205);
    const std::string valid = frame(R"({"op":"login","user":"dev1","password":"x"})", "payload");
    const FrameLimits limits{4096, 4096};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::size_t rounds = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        std::string input = valid + valid;
        const int mutations = 1 + static_cast<int>(random() % 8);
        for (int m = 0; m < mutations; ++m)
        {
            const std::size_t at = random() % input.size();
            const unsigned kind = random() % 4;
            if (kind == 0)
                input[at] = static_cast<char>(random());
            else if (kind == 1)
                input.insert(at, std::string(1 + random() % 8, static_cast<char>(random())));
            else
                input.erase(at, kind == 2 ? 1 + random() % 8 : std::string::npos);
            if (input.empty())
                input = valid;
        }
        FrameDecoder decoder(limits);
        std::size_t at = 0;
        for (;;)
        {
            const std::size_t step = 1 + random() % 64;
            decoder.append(input.data() + at, std::min(step, input.size() - at));
            at = std::min(at + step, input.size());
            RawFrame f;
            FrameDecoder::Result result;
            while ((result = decoder.next(f)) == FrameDecoder::Result::Frame)
            {
                ASSERT_LE(f.header.size(), limits.maxHeader);
                ASSERT_LE(f.payload.size(), limits.maxPayload);
                json header;
                FrameSocket::parseHeader(f.header, header);
            }
            if (result == FrameDecoder::Result::Invalid)
            {
                ASSERT_FALSE(decoder.error().empty());
                RawFrame again;
                ASSERT_EQ(decoder.next(again), FrameDecoder::Result::Invalid);
                break;
            }
            if (at == input.size())
                break;
        }
        ++rounds;
    }
    EXPECT_GT(rounds, 1000u);
}
