// Measures harbroker on loopback against plain baselines measured in the same run:
// a version-chooser round trip against a bare TCP echo, a 1,000-file check-out against a local
// copy of the same files, and an SQL listing over 10,000 items. Then, on a harbroker process of its
// own, the same client's chooser round trip and 100-file check-out (update mode: a write
// transaction per file) with two stalled clients and 1,000 idle logged-in connections, against the
// same on the idle broker, and the broker's resident memory. Between the two, eight clients
// getting the same 1,000 files at once against one after another. Exits 1 when a result or a
// count is wrong.
#include "BrokerClient.h"
#include "FrameDecoder.h"
#include "Repository.h"
#include "SampleRepository.h"
#include "Server.h"
#include "Transaction.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace
{

constexpr int Files = 1000;
constexpr std::size_t FileSize = 20 * 1000 * 1000 / Files;
constexpr int ListedItems = 10000;
constexpr int RoundTrips = 2000;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string fileBytes(int i)
{
    std::string bytes(FileSize, '\0');
    for (std::size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>('A' + (k * 7 + static_cast<std::size_t>(i)) % 61);
    return bytes;
}

// A bare echo server on its own thread: the floor of any request/reply on this machine.
int startEcho()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 1);
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    std::thread(
        [listener]
        {
            const int fd = ::accept(listener, nullptr, nullptr);
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            char buffer[4096];
            ssize_t got;
            while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
                ::send(fd, buffer, static_cast<std::size_t>(got), 0);
            ::close(fd);
        })
        .detach();
    return ntohs(address.sin_port);
}

double echoRoundTrip(int port, std::size_t messageSize)
{
    const int fd = BrokerClient::connectTo("127.0.0.1", port);
    const std::string message(messageSize, 'x');
    std::string back(messageSize, '\0');
    const auto start = Clock::now();
    for (int i = 0; i < RoundTrips; ++i)
    {
        ::send(fd, message.data(), message.size(), 0);
        std::size_t got = 0;
        while (got < back.size())
            got += static_cast<std::size_t>(::recv(fd, back.data() + got, back.size() - got, 0));
    }
    const double total = seconds(start);
    ::close(fd);
    return total / RoundTrips;
}

void prepare(const std::string& dataDir, const std::string& sourceDir)
{
    Repository repository(dataDir);
    SampleRepository::create(repository);
    Transaction transaction(repository.db());
    repository.createFolder("\\Common\\Bench");
    repository.createFolder("\\Common\\Listing");
    const std::int64_t bench = *repository.folder("\\Common\\Bench");
    const std::int64_t listing = *repository.folder("\\Common\\Listing");
    NewVersion newVersion;
    newVersion.modifier = "harvest";
    fs::create_directories(sourceDir);
    for (int i = 0; i < Files; ++i)
    {
        const std::string name = "screen" + std::to_string(i) + ".xcml";
        const std::string bytes = fileBytes(i);
        repository.addVersion(repository.createItem(bench, name), newVersion,
                              repository.storeContent(bytes));
        std::ofstream(sourceDir + "/" + name, std::ios::binary) << bytes;
    }
    for (int i = 0; i < ListedItems; ++i)
        repository.createItem(listing, "item" + std::to_string(i) + ".xml");
    transaction.commit();
}

struct Child
{
    pid_t pid = -1;
    int port = 0;
};

// harbroker on the data folder; stalled clients stay stalled for the whole measurement.
Child startBroker(const std::string& dataDir)
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    Child child;
    child.pid = ::fork();
    if (child.pid == 0)
    {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(HARBROKER_PATH, HARBROKER_PATH, "--data", dataDir.c_str(), "--port", "0",
                "--stall-timeout", "600", nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    FILE* lines = ::fdopen(out[0], "r");
    char line[512] = {};
    if (std::fgets(line, sizeof line, lines))
    {
        const char* colon = std::strrchr(line, ':');
        child.port = colon ? std::atoi(colon + 1) : 0;
    }
    std::fclose(lines);
    return child;
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// CPU time the process has used, in clock ticks.
long cpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
    {
        if (i == 14)
            user = std::atol(field.c_str());
        if (i == 15)
            system = std::atol(field.c_str());
    }
    return user + system;
}

// Waits (at most 30 s) until the broker has used no CPU for 300 ms: whatever the stalled clients
// had sent is worked off and they are truly stalled.
void waitUntilQuiet(pid_t pid)
{
    const auto end = Clock::now() + std::chrono::seconds(30);
    long before = cpuTicks(pid);
    while (Clock::now() < end)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const long now = cpuTicks(pid);
        if (now == before)
            return;
        before = now;
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

json checkoutRequest(const std::vector<std::int64_t>& versions, const std::string& clientDir,
                     int mode)
{
    return {{"op", "checkout"},
            {"project", "QXP"},
            {"state", "Development"},
            {"package", "QXP-001"},
            {"process", "CheckOut"},
            {"versions", versions},
            {"viewPath", "\\Common\\Bench"},
            {"clientDir", clientDir},
            {"mode", mode},
            {"pathOption", 2},
            {"replaceFile", true}};
}

// A raw socket that reads (almost) nothing: whatever the broker sends it stays in the buffers.
int stalledSocket(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
}

std::string frameOf(const json& header)
{
    const std::string text = header.dump();
    return FrameDecoder::prefix(text.size(), 0) + text;
}

void loginStalled(int fd, const char* user, const char* password)
{
    const std::string login =
        frameOf({{"op", "login"}, {"user", user}, {"password", password}, {"machine", "STALLED"}});
    ::send(fd, login.data(), login.size(), MSG_NOSIGNAL);
    char reply[256];
    ::recv(fd, reply, sizeof reply, 0); // the small login reply; nothing is read after it
}

// Whether a client's get of every bench file in mode 4 came out whole: its result, its messages
// and its files. The folder is removed again.
bool gotAll(const BrokerClient& client, const json& reply, std::size_t wanted,
            const std::string& dir)
{
    const auto& messages = client.messages();
    const auto reported =
        std::count_if(messages.begin(), messages.end(),
                      [](const json& m) { return m["key"] == "HSRV_I_CHECKOUT"; });
    std::error_code ignored;
    const auto files =
        std::distance(fs::directory_iterator(dir, ignored), fs::directory_iterator());
    fs::remove_all(dir, ignored);
    return reply.value("result", -1) == 0 && reported == static_cast<long>(wanted) &&
           files == static_cast<long>(wanted);
}

// Eight clients getting the same files one after another and all at once, in rounds of both
// orders; false when any of them missed a file.
bool manyClients(int port, const std::vector<std::int64_t>& versions, const std::string& root)
{
    constexpr int Clients = 8;
    std::vector<std::unique_ptr<BrokerClient>> clients;
    for (int i = 0; i < Clients; ++i)
    {
        clients.push_back(std::make_unique<BrokerClient>("127.0.0.1", port));
        clients.back()->login("dev1", "dev1pw", "BENCH" + std::to_string(i));
    }
    bool right = true;
    // Timed: the gets alone; then each client's outcome is checked and its folder removed.
    auto phase = [&](bool together)
    {
        std::vector<json> replies(Clients);
        auto get = [&](int i)
        {
            replies[i] = clients[i]->request(
                checkoutRequest(versions, root + "/get" + std::to_string(i), 4));
        };
        ::sync();
        const auto start = Clock::now();
        std::vector<std::thread> threads;
        for (int i = 0; i < Clients; ++i)
        {
            if (together)
                threads.emplace_back(get, i);
            else
                get(i);
        }
        for (auto& t : threads)
            t.join();
        const double took = seconds(start);
        for (int i = 0; i < Clients; ++i)
            right = gotAll(*clients[i], replies[i], versions.size(),
                           root + "/get" + std::to_string(i)) &&
                    right;
        return took;
    };
    // In the order one, all, all, one: a drift of the machine weighs on both alike.
    double sequential = phase(false);
    double together = phase(true);
    together += phase(true);
    sequential += phase(false);
    std::printf("%d clients getting %zu files at once %8.1f ms   (one after another %.1f ms, ratio "
                "%.2f, goal <= 1), %s\n",
                Clients, versions.size(), together / 2 * 1e3, sequential / 2 * 1e3,
                together / sequential, right ? "every file arrived" : "FILES MISSING");
    std::fflush(stdout);
    return right;
}

// One client of one broker, measured in rounds: chooser round trips, then a check-out in update
// mode (a write transaction per file) whose reservations are deleted again, untimed.
class Measured
{
public:
    Measured(int port, const json& chooser, std::vector<std::int64_t> versions, std::string dir)
        : m_client("127.0.0.1", port), m_chooser(chooser), m_versions(std::move(versions)),
          m_dir(std::move(dir))
    {
        m_client.login("dev1", "dev1pw", "BENCH");
    }

    void round(int trips)
    {
        auto start = Clock::now();
        for (int i = 0; i < trips; ++i)
            m_client.request(m_chooser);
        m_trips.push_back(seconds(start) / trips);
        start = Clock::now();
        const json reply = m_client.request(
            checkoutRequest(m_versions, m_dir + std::to_string(m_trips.size()), 2));
        m_checkouts.push_back(seconds(start));
        m_locked = m_locked || reply.dump().find("locked") != std::string::npos;
        for (const json& m : m_client.messages())
            m_locked = m_locked || m.dump().find("locked") != std::string::npos;
        if (reply.value("result", -1) != 0)
            std::printf("under load: a check-out failed: %s\n", reply.dump().c_str());
        std::vector<std::int64_t> reserved;
        const json held = m_client.request({{"op", "chooseVersions"},
                                            {"project", "QXP"},
                                            {"parentPath", "\\Common\\Bench"},
                                            {"itemName", "*"},
                                            {"statusOption", 0x10}});
        for (const json& v : held["versions"])
            if (v["modifier"] == "dev1")
                reserved.push_back(v["objid"]);
        m_client.request({{"op", "deleteVersion"},
                          {"project", "QXP"},
                          {"state", "Development"},
                          {"process", "DeleteVersion"},
                          {"versions", reserved}});
    }
    double trip() const { return median(m_trips); }
    double checkout() const { return median(m_checkouts); }
    bool locked() const { return m_locked; }

private:
    BrokerClient m_client;
    json m_chooser;
    std::vector<std::int64_t> m_versions;
    std::string m_dir;
    std::vector<double> m_trips;
    std::vector<double> m_checkouts;
    bool m_locked = false;
};

// Two brokers on the same database, one idle and one loaded, measured in alternating rounds so
// that whatever else the machine does weighs on both alike.
void underLoad(const std::string& dataDir, const std::string& root, const json& chooser,
               const std::vector<std::int64_t>& benchVersions)
{
    constexpr int Idle = 1000;
    constexpr int Rounds = 7;
    constexpr int Trips = 500;
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    const Child idleBroker = startBroker(dataDir);
    const Child broker = startBroker(dataDir);
    if (broker.port == 0 || idleBroker.port == 0)
    {
        std::printf("under load: harbroker did not start\n");
        return;
    }
    const std::vector<std::int64_t> batch(benchVersions.begin(), benchVersions.begin() + 100);
    Measured onIdle(idleBroker.port, chooser, batch, root + "/idle");
    Measured onLoaded(broker.port, chooser, batch, root + "/loaded");
    onIdle.round(Trips);
    onLoaded.round(Trips);
    const long idleKb = residentKb(broker.pid);

    // 1,000 logged-in connections that then stay silent.
    auto loginsStart = Clock::now();
    std::vector<std::unique_ptr<BrokerClient>> idle(Idle);
    std::vector<std::thread> openers;
    for (int t = 0; t < 4; ++t)
        openers.emplace_back(
            [&, t]
            {
                for (int i = t; i < Idle; i += 4)
                {
                    idle[i] = std::make_unique<BrokerClient>("127.0.0.1", broker.port);
                    idle[i]->login(i % 2 ? "dev1" : "dev2", i % 2 ? "dev1pw" : "dev2pw", "IDLE");
                }
            });
    for (auto& t : openers)
        t.join();
    const double loginsTime = seconds(loginsStart);
    const long withIdleKb = residentKb(broker.pid);

    // Stalled in mid-reply: a check-out whose files are never taken.
    const int midReply = stalledSocket(broker.port);
    loginStalled(midReply, "dev2", "dev2pw");
    const std::string big = frameOf(checkoutRequest(
        std::vector<std::int64_t>(benchVersions.end() - 100, benchVersions.end()), "C:\\S", 1));
    ::send(midReply, big.data(), big.size(), MSG_NOSIGNAL);
    // The case of the issue: asking again and again for a reservation that exists, reading
    // nothing. The first request makes the reservation.
    const int refusals = stalledSocket(broker.port);
    loginStalled(refusals, "dev2", "dev2pw");
    const std::string refused =
        frameOf(checkoutRequest({benchVersions[benchVersions.size() - 101]}, "C:\\R", 3));
    std::size_t at = 0;
    for (int stuck = 0; stuck < 20;)
    {
        const ssize_t n =
            ::send(refusals, refused.data() + at, refused.size() - at, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0)
        {
            at = (at + static_cast<std::size_t>(n)) % refused.size();
            stuck = 0;
        }
        else
        {
            ++stuck;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    waitUntilQuiet(broker.pid);
    Measured loaded(broker.port, chooser, batch, root + "/load");
    Measured idleAgain(idleBroker.port, chooser, batch, root + "/again");
    for (int round = 0; round < Rounds; ++round)
    {
        idleAgain.round(Trips);
        loaded.round(Trips);
    }
    const long loadedKb = residentKb(broker.pid);

    std::printf("under load (2 stalled clients, %d idle logged-in connections; %d logins took "
                "%.1f s), against an idle broker, medians of %d alternating rounds:\n",
                Idle, Idle, loginsTime, Rounds);
    std::printf("  chooser round trip         %8.1f us   (idle broker %.1f us, ratio %.2f, goal "
                "< 1.5)\n",
                loaded.trip() * 1e6, idleAgain.trip() * 1e6, loaded.trip() / idleAgain.trip());
    std::printf("  check-out of 100 files (update) %5.1f ms   (idle broker %.1f ms, ratio %.2f, "
                "goal < 1.5)%s\n",
                loaded.checkout() * 1e3, idleAgain.checkout() * 1e3,
                loaded.checkout() / idleAgain.checkout(),
                loaded.locked() || idleAgain.locked() ? ", DATABASE LOCKED" : ", never locked");
    std::printf("  broker resident memory     %8.1f MB   (before the load %.1f MB, with the idle "
                "connections %.1f MB: %.0f bytes each; goal < 100 MB)\n",
                loadedKb / 1024.0, idleKb / 1024.0, withIdleKb / 1024.0,
                (withIdleKb - idleKb) * 1024.0 / Idle);
    ::close(midReply);
    ::close(refusals);
    idle.clear();
    for (const Child& child : {broker, idleBroker})
    {
        ::kill(child.pid, SIGTERM);
        ::waitpid(child.pid, nullptr, 0);
    }
}

} // namespace

int main()
{
    char pattern[] = "/tmp/broker-bench.XXXXXX";
    const std::string root = mkdtemp(pattern);
    const std::string dataDir = root + "/data";
    const std::string sourceDir = root + "/source";
    prepare(dataDir, sourceDir);

    Server server(dataDir, "127.0.0.1", 0);
    std::thread([&server] { server.run(); }).detach();
    BrokerClient client("127.0.0.1", server.port());
    client.login("dev1", "dev1pw", "BENCH");

    const json chooser = {{"op", "chooseVersions"},
                          {"project", "QXP"},
                          {"state", "Development"},
                          {"package", "QXP-001"},
                          {"parentPath", "\\QXRepo\\Proj1"},
                          {"itemName", "Main.xml"},
                          {"recursive", true},
                          {"branchOption", 273},
                          {"versionOption", 256}};
    const std::size_t chooserSize = chooser.dump().size();
    client.request(chooser);
    auto start = Clock::now();
    for (int i = 0; i < RoundTrips; ++i)
        client.request(chooser);
    const double chooserTime = seconds(start) / RoundTrips;
    const double echoTime = echoRoundTrip(startEcho(), chooserSize);

    const json chosen = client.request({{"op", "chooseVersions"},
                                        {"project", "QXP"},
                                        {"parentPath", "\\Common\\Bench"},
                                        {"itemName", "*"}});
    std::vector<std::int64_t> versions;
    for (const json& v : chosen["versions"])
        versions.push_back(v["objid"]);
    // A copy before and one after, each phase starting with nothing left to write back: the
    // disk's flushing of earlier writes would otherwise land on whichever phase comes next.
    auto copy = [&](const std::string& to)
    {
        ::sync();
        const auto copyStart = Clock::now();
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(sourceDir))
            fs::copy_file(entry.path(), to + "/" + entry.path().filename().string());
        return seconds(copyStart);
    };
    double copyTime = copy(root + "/copy1");
    ::sync();
    start = Clock::now();
    const json reply = client.request(checkoutRequest(versions, root + "/checkout", 1));
    const double checkoutTime = seconds(start);
    copyTime = (copyTime + copy(root + "/copy2")) / 2;

    start = Clock::now();
    const json listing =
        client.request({{"op", "sql"},
                        {"statement", "select b.pathfullname, a.itemname from haritems a, "
                                      "harpathfullname b where a.parentobjid = b.itemobjid and "
                                      "a.itemname like '%.xml%' and (a.repositobjid=1 or "
                                      "a.repositobjid=2 )"}});
    const double listingTime = seconds(start);

    std::printf(
        "version chooser round trip   %8.1f us   (bare TCP echo %.1f us, ratio %.2f, goal < 3)\n",
        chooserTime * 1e6, echoTime * 1e6, chooserTime / echoTime);
    std::printf("check-out %d files, %zu MB  %8.1f ms   (local copy %.1f ms, ratio %.2f, goal < "
                "1.3; copies before and after), result %d, %zu files\n",
                Files, Files * FileSize / 1000000, checkoutTime * 1e3, copyTime * 1e3,
                checkoutTime / copyTime, reply.value("result", -1), versions.size());
    std::printf("SQL listing of %d rows       %8.1f ms\n", listing.value("rows", 0),
                listingTime * 1e3);
    std::fflush(stdout);
    const bool allArrived = manyClients(server.port(), versions, root);
    underLoad(dataDir, root, chooser, versions);
    fs::remove_all(root);
    const bool right = reply.value("result", -1) == 0 && versions.size() == Files &&
                       listing.value("rows", 0) > ListedItems && allArrived;
    if (!right)
        std::printf("broker_bench: a result or a count is wrong\n");
    return right ? 0 : 1;
}
