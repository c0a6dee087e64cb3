#include "Server.h"

#include "BrokerError.h"
#include "Session.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

Server::Server(std::string dataDir, const std::string& bindAddress, int port)
    : m_dataDir(std::move(dataDir))
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (port < 0 || port > 65535 || inet_pton(AF_INET, bindAddress.c_str(), &address.sin_addr) != 1)
        throw BrokerError("invalid", "bad address " + bindAddress + ":" + std::to_string(port));
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (m_listener < 0 ||
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 64) != 0)
        throw BrokerError("internal", "cannot listen on " + bindAddress + ":" +
                                          std::to_string(port) + ": " + std::strerror(errno));
    socklen_t size = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
}

Server::~Server()
{
    if (m_listener >= 0)
        ::close(m_listener);
}

void Server::run()
{
    for (;;)
    {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
        {
            if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE)
                continue;
            throw BrokerError("internal", std::string("accept failed: ") + std::strerror(errno));
        }
        if (m_sessions >= MaxSessions)
        {
            ::close(fd);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ++m_sessions;
        std::thread(
            [this, fd]
            {
                try
                {
                    Session(fd, m_dataDir).run();
                }
                catch (const std::exception& e)
                {
                    std::fprintf(stderr, "harbroker: session ended: %s\n", e.what());
                }
                --m_sessions;
            })
            .detach();
    }
}
