#pragma once

#include <atomic>
#include <string>

// Accepts clients and serves each on a thread of its own.
class Server
{
public:
    Server(std::string dataDir, const std::string& bindAddress, int port);
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server();

    int port() const { return m_port; }
    // Serves until the process ends.
    void run();

    static constexpr int DefaultPort = 7701;
    static constexpr int MaxSessions = 256;

private:
    std::string m_dataDir;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<int> m_sessions{0};
};
