#include "BrokerClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace
{

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty())
    {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool readAll(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

BrokerClient::BrokerClient(const std::string& host, int port)
    : m_socket(std::make_unique<FrameSocket>(connectTo(host, port), FrameLimits::session()))
{
}

int BrokerClient::connectTo(const std::string& host, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
        throw std::runtime_error("bad address " + host);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot connect to " + host + ":" + std::to_string(port));
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

std::string BrokerClient::nativePath(const std::string& wirePath)
{
    std::string path = wirePath;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

json BrokerClient::login(const std::string& user, const std::string& password,
                         const std::string& machine)
{
    return request({{"op", "login"}, {"user", user}, {"password", password}, {"machine", machine}});
}

json BrokerClient::request(const json& header, const std::string& payload)
{
    m_messages.clear();
    if (!m_socket->send(header, payload))
        throw std::runtime_error("send failed: " + m_socket->error());
    const std::string clientDir = header.value("clientDir", std::string());
    for (;;)
    {
        RawFrame frame;
        json reply;
        if (!m_socket->receive(frame))
            throw std::runtime_error("connection lost: " + m_socket->error());
        if (!FrameSocket::parseHeader(frame.header, reply))
            throw std::runtime_error("bad frame from the broker");
        if (!reply.contains("event"))
        {
            // A broker replies only after every answer; any still queued belong to nobody.
            m_socket->dropQueued();
            return reply;
        }
        if (m_hook)
            m_hook(reply);
        const std::string event = reply["event"];
        if (event == "message")
            m_messages.push_back(reply);
        else if (event == "file")
            writeFile(clientDir, reply, frame.payload);
        else if (event == "send")
            sendFile(clientDir, reply);
    }
}

void BrokerClient::writeFile(const std::string& clientDir, const json& event,
                             const std::string& bytes)
{
    const std::string local = nativePath(clientDir + "\\" + event["path"].get<std::string>());
    const bool readOnly = event["readOnly"].get<bool>();
    const mode_t mode = readOnly ? 0444 : 0644;
    json answer = {{"op", "fileDone"}, {"written", false}};
    // A new file is created with its final mode in one call; the rules for one that exists, or
    // whose folder does not, are followed only then.
    int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno == ENOENT && event["createDirs"].get<bool>())
    {
        std::error_code error;
        fs::create_directories(fs::path(local).parent_path(), error);
        fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    }
    std::string existing;
    struct stat status
    {
    };
    if (fd < 0 && errno == EEXIST && ::stat(local.c_str(), &status) == 0 &&
        !S_ISDIR(status.st_mode))
    {
        if (!event["replace"].get<bool>())
            answer["reason"] = "exists";
        else if (event["skipIdentical"].get<bool>() && readAll(local, existing) &&
                 existing == bytes)
            answer["reason"] = "identical";
        else if (::chmod(local.c_str(), 0644) == 0)
            fd = ::open(local.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd >= 0 && readOnly)
            ::fchmod(fd, mode);
    }
    if (fd >= 0)
    {
        const bool written = writeAll(fd, bytes);
        if (::close(fd) == 0 && written)
            answer["written"] = true;
    }
    if (!answer["written"].get<bool>() && !answer.contains("reason"))
    {
        answer["reason"] = "failed";
        answer["error"] = "cannot write " + local + ": " + std::strerror(errno);
    }
    if (!m_socket->queue(answer))
        throw std::runtime_error("send failed");
}

void BrokerClient::sendFile(const std::string& clientDir, const json& event)
{
    const fs::path local = nativePath(clientDir + "\\" + event["path"].get<std::string>());
    std::string bytes;
    json answer = {{"op", "file"}, {"index", event["index"]}, {"exists", true}};
    if (!readAll(local, bytes))
    {
        answer["exists"] = false;
        answer["error"] = "cannot read " + local.string();
        bytes.clear();
    }
    if (!m_socket->queue(answer, bytes))
        throw std::runtime_error("send failed");
}
