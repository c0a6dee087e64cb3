#include <winsock2.h>
#include <windows.h>
#include "LoopbackListener.h"

#include <algorithm>

LoopbackListener::LoopbackListener(Handler handler)
    : m_handler(std::move(handler)), m_listener(INVALID_SOCKET), m_port(0), m_bStopping(false),
      m_accepted(0)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(m_listener, SOMAXCONN);
    int size = sizeof(address);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

LoopbackListener::~LoopbackListener()
{
    m_bStopping = true;
    m_acceptor.join();
    closesocket(m_listener);
    CutAll();
    for (std::thread& thread : m_threads)
        thread.join();
    WSACleanup();
}

std::string LoopbackListener::Address() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

void LoopbackListener::CutAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Socket socket : m_open)
        shutdown(socket, SD_BOTH);
}

void LoopbackListener::Track(Socket socket)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.push_back(socket);
}

void LoopbackListener::Untrack(Socket socket)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.erase(std::remove(m_open.begin(), m_open.end(), socket), m_open.end());
}

bool LoopbackListener::SendAll(Socket socket, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();)
    {
        const int sent =
            send(socket, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (sent <= 0)
            return false;
        done += sent;
    }
    return true;
}

bool LoopbackListener::ReceiveAll(Socket socket, char* data, size_t length)
{
    while (length > 0)
    {
        const int received = recv(socket, data, static_cast<int>(length), 0);
        if (received <= 0)
            return false;
        data += received;
        length -= received;
    }
    return true;
}

bool LoopbackListener::WaitReadable(const std::vector<Socket>& sockets,
                                    std::vector<bool>& ready) const
{
    while (!m_bStopping)
    {
        fd_set readable;
        FD_ZERO(&readable);
        for (const Socket socket : sockets)
            FD_SET(socket, &readable);
        timeval wait = {0, 20000};
        if (select(0, &readable, nullptr, nullptr, &wait) == 0)
            continue;
        ready.clear();
        for (const Socket socket : sockets)
            ready.push_back(FD_ISSET(socket, &readable));
        return true;
    }
    return false;
}

bool LoopbackListener::WaitReadable(Socket socket) const
{
    std::vector<bool> ready;
    return WaitReadable({socket}, ready);
}

void LoopbackListener::AcceptLoop()
{
    while (WaitReadable(m_listener))
    {
        const Socket connection = accept(m_listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        ++m_accepted;
        Track(connection);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_threads.emplace_back(
            [this, connection]
            {
                m_handler(connection);
                Untrack(connection);
                closesocket(connection);
            });
    }
}
