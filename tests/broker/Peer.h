#pragma once

#include "FrameDecoder.h"

#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

// Raw frames and sockets, for what BrokerClient never sends: broken frames, stalls, many peers.

inline std::string frame(const std::string& header, const std::string& payload = {})
{
    return FrameDecoder::prefix(header.size(), payload.size()) + header + payload;
}

inline std::string loginFrame(const std::string& user, const std::string& password)
{
    return frame(
        nlohmann::json{{"op", "login"}, {"user", user}, {"password", password}, {"machine", "PC"}}
            .dump());
}

// A client socket on a chosen loopback address (all of 127.0.0.0/8 is this machine, so each
// address is a peer of its own for the broker).
class Peer
{
    using json = nlohmann::json;
    using Clock = std::chrono::steady_clock;

public:
    explicit Peer(int port, const std::string& from = "127.0.0.1", int receiveBuffer = 0)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, from.c_str(), &local.sin_addr);
        sockaddr_in broker{};
        broker.sin_family = AF_INET;
        broker.sin_port = htons(static_cast<std::uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.1", &broker.sin_addr);
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
            ::connect(m_fd, reinterpret_cast<sockaddr*>(&broker), sizeof broker) != 0)
            throw std::runtime_error("cannot connect from " + from);
        const int on = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;
    ~Peer() { ::close(m_fd); }

    int fd() const { return m_fd; }
    void closeWrite() { ::shutdown(m_fd, SHUT_WR); }
    // Blocks until all is sent, unless the broker hangs up.
    void send(const std::string& bytes) { ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // The next frame's header; "closed" when the broker hung up, "silent" when nothing came.
    std::string read(double wait = 5)
    {
        RawFrame reply;
        const auto end = Clock::now() + std::chrono::duration<double>(wait);
        while (m_decoder.next(reply) != FrameDecoder::Result::Frame)
        {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            pollfd p{m_fd, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
                return "silent";
            char chunk[65536];
            const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (got <= 0)
                return "closed";
            m_decoder.append(chunk, static_cast<std::size_t>(got));
        }
        return reply.header;
    }
    // The final reply of a request (events skipped); {"code":"closed"/"silent"} otherwise.
    json request(const json& header, double wait = 5)
    {
        send(frame(header.dump()));
        for (;;)
        {
            const std::string text = read(wait);
            const json reply = json::parse(text, nullptr, false);
            if (!reply.is_object())
                return {{"ok", false}, {"code", text}};
            if (!reply.contains("event"))
                return reply;
        }
    }
    json login(const std::string& user, const std::string& password)
    {
        return request(
            {{"op", "login"}, {"user", user}, {"password", password}, {"machine", "PC"}});
    }
    // True once the broker has closed the connection (whatever it still had to say is skipped).
    bool closed(double wait)
    {
        for (;;)
        {
            const std::string got = read(wait);
            if (got == "closed")
                return true;
            if (got == "silent")
                return false;
        }
    }

private:
    int m_fd = -1;
    FrameDecoder m_decoder{FrameLimits::session()};
};
