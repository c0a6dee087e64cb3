// Measures harbroker on loopback against plain baselines measured in the same run:
// a version-chooser round trip against a bare TCP echo, a 1,000-file check-out against a local
// copy of the same files, and an SQL listing over 10,000 items.
#include "BrokerClient.h"
#include "Repository.h"
#include "SampleRepository.h"
#include "Server.h"
#include "Transaction.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
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
    start = Clock::now();
    const json reply = client.request({{"op", "checkout"},
                                       {"project", "QXP"},
                                       {"state", "Development"},
                                       {"package", "QXP-001"},
                                       {"process", "CheckOut"},
                                       {"versions", versions},
                                       {"viewPath", "\\Common\\Bench"},
                                       {"clientDir", root + "/checkout"},
                                       {"mode", 1},
                                       {"pathOption", 2},
                                       {"replaceFile", true}});
    const double checkoutTime = seconds(start);
    start = Clock::now();
    fs::create_directories(root + "/copy");
    for (const auto& entry : fs::directory_iterator(sourceDir))
        fs::copy_file(entry.path(), root + "/copy/" + entry.path().filename().string());
    const double copyTime = seconds(start);

    start = Clock::now();
    const json listing =
        client.request({{"op", "sql"},
                        {"statement", "select b.pathfullname, a.itemname from haritems a, "
                                      "harpathfullname b where a.parentobjid = b.itemobjid and "
                                      "a.itemname like '%.xml%' and (a.repositobjid=1 or "
                                      "a.repositobjid=2 )"}});
    const double listingTime = seconds(start);

    std::printf(
        "version chooser round trip   %8.1f us   (bare TCP echo %.1f us, ratio %.2f, goal < 5)\n",
        chooserTime * 1e6, echoTime * 1e6, chooserTime / echoTime);
    std::printf("check-out %d files, %zu MB  %8.1f ms   (local copy %.1f ms, ratio %.2f, goal < "
                "3), result %d, %zu files\n",
                Files, Files * FileSize / 1000000, checkoutTime * 1e3, copyTime * 1e3,
                checkoutTime / copyTime, reply.value("result", -1), versions.size());
    std::printf("SQL listing of %d rows       %8.1f ms\n", listing.value("rows", 0),
                listingTime * 1e3);
    fs::remove_all(root);
    return 0;
}
