#include "BrokerProcess.h"
#include "FrameDecoder.h"
#include "FrameSocket.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

using nlohmann::json;

namespace
{

std::string frame(const std::string& header, const std::string& payload = {})
{
    return FrameDecoder::prefix(header.size(), payload.size()) + header + payload;
}

class RawConnection
{
public:
    explicit RawConnection(int port) : m_fd(BrokerClient::connectTo("127.0.0.1", port)) {}
    ~RawConnection() { ::close(m_fd); }
    void write(const std::string& bytes) { ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // The next reply header, or "closed" when the broker hung up.
    std::string read()
    {
        FrameDecoder decoder(FrameLimits::session());
        RawFrame reply;
        char chunk[65536];
        while (decoder.next(reply) != FrameDecoder::Result::Frame)
        {
            const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (got <= 0)
                return "closed";
            decoder.append(chunk, static_cast<std::size_t>(got));
        }
        return reply.header;
    }
    void closeWrite() { ::shutdown(m_fd, SHUT_WR); }

private:
    int m_fd;
};

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

    const json wrongPassword = client->login("dev1", "wrong", "PC");
    const json unknownUser = client->login("nobody", "dev1pw", "PC");
    EXPECT_EQ(wrongPassword["code"], "auth");
    // The two refusals read alike, so they do not tell which user names exist.
    EXPECT_EQ(wrongPassword["error"], unknownUser["error"]);
    EXPECT_EQ(client->request({{"op", "sql"}, {"statement", "select * from haritems"}})["code"],
              "login");

    const json good = client->login("dev1", "dev1pw", "PC");
    EXPECT_EQ(good["admin"], false);
    EXPECT_EQ(client->request({{"op", "admin.createProject"}, {"project", "X"}})["code"],
              "forbidden");

    auto admin = broker.login("harvest", "harvest");
    ASSERT_EQ(admin->request(
                  {{"op", "admin.createUser"}, {"user", "twin"}, {"password", "dev1pw"}})["ok"],
              true);
    const std::string all = broker.snapshot();
    EXPECT_EQ(all.find("dev1pw"), std::string::npos);
    EXPECT_EQ(all.find("dev2pw"), std::string::npos);
    Database db(Repository::databasePath(broker.dataDir()), true);
    Statement s = db.prepare("SELECT hash FROM users WHERE name IN ('dev1', 'twin') ORDER BY name");
    ASSERT_TRUE(s.step());
    const std::string first = s.text(0);
    EXPECT_EQ(first.rfind("$argon2id$", 0), 0u);
    ASSERT_TRUE(s.step());
    EXPECT_NE(first, s.text(0)) << "the same password must hash differently for two users";
    EXPECT_EQ(broker.login("twin", "dev1pw")->request({{"op", "ping"}})["ok"], true);
}

TEST(Session, BadFramesGetAnErrorOrAClosedConnectionAndChangeNothing)
{
    BrokerProcess broker;
    const std::string before = broker.snapshot();
    const std::string login =
        frame(R"({"op":"login","user":"harvest","password":"harvest","machine":"PC"})");
    {
        // Before login even a moderate frame is too large, and payloads are not accepted at all.
        RawConnection c(broker.port());
        c.write(frame(std::string(70000, ' ') + "{}"));
        EXPECT_EQ(c.read(), "closed");
    }
    {
        RawConnection c(broker.port());
        c.write(frame(R"({"op":"ping"})", "x"));
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
        {"payload where none belongs", frame(R"({"op":"projects"})", "abc"), "protocol"},
        {"zero-length header", std::string(8, '\0'), "closed"},
        {"header over the limit", FrameDecoder::prefix(0x7fffffff, 0), "closed"},
        {"payload over the limit", FrameDecoder::prefix(2, 0x7fffffff) + "{}", "closed"},
        {"truncated frame", frame(R"({"op":"admin.createProject","project":"Half"})").substr(0, 20),
         "closed"},
    };
    for (const Case& c : cases)
    {
        RawConnection connection(broker.port());
        connection.write(login);
        ASSERT_EQ(code(connection.read()), "ok");
        connection.write(c.bytes);
        if (std::string(c.expected) == "closed")
            connection.closeWrite();
        EXPECT_EQ(code(connection.read()), c.expected) << c.name;
        if (std::string(c.expected) != "closed")
        {
            connection.write(frame(R"({"op":"ping"})"));
            EXPECT_EQ(code(connection.read()), "ok") << "connection unusable after: " << c.name;
        }
    }
    EXPECT_EQ(broker.snapshot(), before);
    EXPECT_EQ(broker.login("dev1", "dev1pw")->request({{"op", "ping"}})["ok"], true);
}

// Only admin requests carry a payload. Before login any payload breaks the frame limits (the
// connection closes); after it, a payload on anything else is a protocol error, the request is not
// carried out (not even ping or logout), and the connection stays usable.
TEST(Session, APayloadOnANonAdminRequestIsRefusedBeforeAndAfterLogin)
{
    BrokerProcess broker;
    const char* ops[] = {"login",         "logout",         "ping",       "projects", "states",
                         "processes",     "packages",       "context",    "items",    "subItems",
                         "sql",           "chooseVersions", "checkout",   "checkin",  "createPath",
                         "deleteVersion", "renameItem",     "removeItem", "fileDone", "file",
                         "noSuchOp"};
    for (const char* op : ops)
    {
        RawConnection c(broker.port());
        c.write(frame(json{{"op", op}}.dump(), "x"));
        EXPECT_EQ(c.read(), "closed") << op << " before login";
    }
    RawConnection c(broker.port());
    c.write(frame(R"({"op":"login","user":"harvest","password":"harvest","machine":"PC"})"));
    ASSERT_EQ(code(c.read()), "ok");
    for (const char* op : ops)
    {
        c.write(frame(qxpRequest(op, {{"user", "dev1"}, {"password", "dev1pw"}}).dump(), "x"));
        EXPECT_EQ(code(c.read()), "protocol") << op << " after login";
    }
    c.write(frame(R"({"op":"ping"})"));
    EXPECT_EQ(code(c.read()), "ok") << "the connection stays usable (logout was refused too)";
    c.write(frame(R"({"op":"admin.createProject","project":"WithPayload"})", "x"));
    EXPECT_EQ(code(c.read()), "ok") << "admin requests may carry one (and the login stayed)";
}

TEST(Session, AbandonedProcessLeavesNothingHalfDone)
{
    BrokerProcess broker;
    {
        // A client that goes away instead of answering a file frame ends the check-out.
        RawConnection c(broker.port());
        c.write(frame(R"({"op":"login","user":"dev1","password":"dev1pw","machine":"PC"})"));
        ASSERT_EQ(code(c.read()), "ok");
        c.write(frame(qxpRequest("checkout", {{"process", "CheckOut"},
                                              {"versions", {31}},
                                              {"viewPath", "\\Common"},
                                              {"clientDir", "C:\\W"},
                                              {"mode", 2},
                                              {"pathOption", 2}})
                          .dump()));
        std::string header = c.read();
        EXPECT_NE(header.find("\"file\""), std::string::npos);
        c.write(frame(R"({"op":"somethingElse"})"));
        EXPECT_EQ(c.read(), "closed");
    }
    // What was committed before the file left is a consistent reservation the user can undo.
    auto dev1 = broker.login("dev1", "dev1pw", "PC");
    const json chosen = dev1->request(qxpRequest("chooseVersions", {{"versionObjId", 33}}));
    ASSERT_EQ(chosen["versions"].size(), 1u);
    EXPECT_EQ(chosen["versions"][0]["status"], "R");
    EXPECT_EQ(dev1->request(qxpRequest(
                  "deleteVersion", {{"process", "DeleteVersion"}, {"versions", {33}}}))["result"],
              0);
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
