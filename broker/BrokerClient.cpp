#include "BrokerClient.h"

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace
{

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
            return reply;
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
    const fs::path local = nativePath(clientDir + "\\" + event["path"].get<std::string>());
    json answer = {{"op", "fileDone"}, {"written", false}};
    std::error_code error;
    std::string existing;
    if (fs::exists(local) && !event["replace"].get<bool>())
    {
        answer["reason"] = "exists";
    }
    else if (event["skipIdentical"].get<bool>() && readAll(local, existing) && existing == bytes)
    {
        answer["reason"] = "identical";
    }
    else if (!fs::is_directory(local.parent_path()) &&
             (!event["createDirs"].get<bool>() ||
              !fs::create_directories(local.parent_path(), error)))
    {
        answer["reason"] = "failed";
        answer["error"] = "no folder " + local.parent_path().string();
    }
    else
    {
        if (fs::exists(local))
            fs::permissions(local, fs::perms::owner_write, fs::perm_options::add, error);
        std::ofstream out(local, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
        {
            answer["reason"] = "failed";
            answer["error"] = "cannot write " + local.string();
        }
        else
        {
            const auto writable =
                fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
            fs::permissions(local, writable,
                            event["readOnly"].get<bool>() ? fs::perm_options::remove
                                                          : fs::perm_options::add,
                            error);
            answer["written"] = true;
        }
    }
    if (!m_socket->send(answer))
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
    if (!m_socket->send(answer, bytes))
        throw std::runtime_error("send failed");
}
