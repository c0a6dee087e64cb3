#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A listening socket on a free loopback port inside the test process. Each accepted connection
// runs the handler on a thread of its own, which closes the connection when the handler
// returns. The destructor stops listening, cuts every connection and waits for the threads.
class LoopbackListener
{
public:
    // A SOCKET, kept as its integer type so that this header needs no winsock2.h.
    using Socket = std::uintptr_t;
    using Handler = std::function<void(Socket connection)>;

    explicit LoopbackListener(Handler handler);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return m_port; }
    // "127.0.0.1:port", as a broker name for CaHarvest::Login.
    std::string Address() const;
    int Accepted() const { return m_accepted; }
    // Shuts every connection down: its peer sees it closed, its handler's next read fails.
    void CutAll();
    // A socket of a connection that CutAll reaches too (a proxy's way on to the broker).
    void Track(Socket socket);
    void Untrack(Socket socket);

    // Waits until one of the sockets can be read (or has ended), marking which in ready; false
    // once the listener stops. Handlers wait here rather than in a blocking read, which a
    // shutdown does not always end under Wine.
    bool WaitReadable(const std::vector<Socket>& sockets, std::vector<bool>& ready) const;
    bool WaitReadable(Socket socket) const;

    // Sends all bytes, or reads exactly this many; false when the connection ends first.
    static bool SendAll(Socket socket, const std::string& bytes);
    static bool ReceiveAll(Socket socket, char* data, size_t length);

private:
    void AcceptLoop();

    Handler m_handler;
    Socket m_listener;
    int m_port;
    std::atomic<bool> m_bStopping;
    std::atomic<int> m_accepted;
    std::mutex m_mutex;
    std::vector<Socket> m_open;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};
