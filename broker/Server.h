#pragma once

#include "Connection.h"
#include "LoginThrottle.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

class WorkerDatabases;

// Deadlines, caps and throttling of the broker (harbroker's command line; README says why the
// defaults are what they are).
struct ServerConfig
{
    std::chrono::milliseconds loginTimeout{std::chrono::seconds(10)};
    std::chrono::milliseconds idleTimeout{std::chrono::hours(24)}; // 0: never
    std::chrono::milliseconds stallTimeout{std::chrono::seconds(60)};
    int maxConnections = 4096;
    int maxUnauthenticated = 1024;
    int workers = 64;
    ThrottleConfig throttle;
};

// Accepts clients and serves them. Idle connections cost no thread: they wait in one epoll set.
// A bounded pool of worker threads takes turns waiting on that set; the worker that sees a
// connection become readable reads what has arrived and, once a request frame is complete, serves
// it right there (multi-frame processes included, each transfer bounded by the stall time), sends
// the reply (or leaves what the peer does not take to the set), and goes back to waiting. The
// thread that calls run() keeps the deadlines.
class Server
{
public:
    Server(std::string dataDir, const std::string& bindAddress, int port,
           ServerConfig config = ServerConfig());
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    // Stops serving: waits for run() to return and every worker to finish its request.
    ~Server();

    int port() const { return m_port; }
    // Serves until the server is destroyed (harbroker: until the process ends).
    void run();

    static constexpr int DefaultPort = 7701;

private:
    using ConnectionPtr = std::shared_ptr<Connection>;

    void startWorker();
    void workerLoop();
    void dispatch(WorkerDatabases& databases, std::uint64_t id, std::uint32_t events);
    void acceptAll();
    bool admitOne(int fd);
    bool evictOldestUnauthenticated();
    // Reads what has arrived (bounded; `linger`: waiting the socket's short receive timeout for
    // the first bytes); true when the peer has closed its side.
    bool receiveAvailable(Connection& c, bool linger);
    void serveFrames(WorkerDatabases& databases, Connection& c, bool peerClosed);
    bool serve(WorkerDatabases& databases, Connection& c, RawFrame frame, bool released);
    bool flush(Connection& c);
    void park(Connection& c, std::uint32_t events);
    void close(Connection& c, const std::string& reason);
    ConnectionPtr find(std::uint64_t id);
    void release(Connection& c);
    void noteDeadline(Clock::time_point when);
    void sweep();
    // The next moment something must happen to the connection, and what (empty: release a held
    // login); time_point::max() for nothing.
    Clock::time_point deadline(const Connection& c, std::string& reason) const;

    const std::string m_dataDir;
    const ServerConfig m_config;
    LoginThrottle m_throttle;
    int m_listener = -1;
    int m_port = 0;
    int m_epoll = -1;
    int m_ready = -1; // eventfd: held logins due again
    int m_spare = -1; // a descriptor given up to accept (and close) a client when none is left
    int m_stop = -1;  // eventfd: the server is being destroyed
    std::atomic<bool> m_stopping{false};

    std::mutex m_tableMutex;
    std::unordered_map<std::uint64_t, ConnectionPtr> m_connections;
    int m_unauthenticated = 0;
    std::uint64_t m_nextId = 16;
    std::deque<std::uint64_t> m_released;

    std::mutex m_poolMutex;
    std::condition_variable m_poolDone;
    int m_workers = 0;
    bool m_running = false;
    std::atomic<int> m_waiting{0};

    std::mutex m_sweepMutex;
    std::condition_variable m_sweepWake;
    Clock::time_point m_nextSweep = Clock::time_point::max();
};
