#include "Server.h"

#include "BrokerError.h"
#include "Session.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

constexpr std::uint64_t ListenerId = 1;
constexpr std::uint64_t ReadyId = 2;
constexpr std::uint64_t StopId = 3;
// Workers kept while there is nothing to do; more start whenever every one is busy.
constexpr int ResidentWorkers = 4;
constexpr int WorkerIdleMs = 30000;
// What one readiness event may read before the worker turns to others.
constexpr std::size_t ReadBudget = 4u << 20;
constexpr std::size_t ReadChunk = 256u << 10;
// After a reply, how long the worker waits for the same client's next request itself (while
// another worker waits for everyone else): requests in a burst stay on one warm thread.
constexpr long LingerMs = 2;

std::string seconds(std::chrono::milliseconds time)
{
    const auto ms = time.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// Lets the broker hold as many connections as the hard limit allows.
rlim_t raiseDescriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1024;
    if (limit.rlim_cur < limit.rlim_max)
    {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    return limit.rlim_cur;
}

ServerConfig bounded(ServerConfig config)
{
    const rlim_t descriptors = raiseDescriptorLimit();
    const rlim_t usable = descriptors > 96 ? descriptors - 64 : 32;
    config.maxConnections = static_cast<int>(
        std::min<rlim_t>(static_cast<rlim_t>(std::max(config.maxConnections, 1)), usable));
    config.maxUnauthenticated = std::clamp(config.maxUnauthenticated, 1, config.maxConnections);
    config.workers = std::max(config.workers, 1);
    return config;
}

} // namespace

Server::Server(std::string dataDir, const std::string& bindAddress, int port, ServerConfig config)
    : m_dataDir(std::move(dataDir)), m_config(bounded(config)), m_throttle(config.throttle)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (port < 0 || port > 65535 || inet_pton(AF_INET, bindAddress.c_str(), &address.sin_addr) != 1)
        throw BrokerError("invalid", "bad address " + bindAddress + ":" + std::to_string(port));
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (m_listener < 0 ||
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, SOMAXCONN) != 0)
        throw BrokerError("internal", "cannot listen on " + bindAddress + ":" +
                                          std::to_string(port) + ": " + std::strerror(errno));
    socklen_t size = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);

    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_ready = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK | EFD_SEMAPHORE);
    m_stop = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_epoll < 0 || m_ready < 0 || m_stop < 0)
        throw BrokerError("internal", std::string("cannot poll: ") + std::strerror(errno));
    epoll_event event{};
    event.events = EPOLLIN | EPOLLONESHOT;
    event.data.u64 = ListenerId;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_listener, &event);
    event.events = EPOLLIN;
    event.data.u64 = ReadyId;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_ready, &event);
    event.data.u64 = StopId;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_stop, &event);
    m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

Server::~Server()
{
    m_stopping = true;
    const std::uint64_t one = 1;
    if (::write(m_stop, &one, sizeof one) != sizeof one)
        std::fprintf(stderr, "harbroker: cannot stop the workers\n");
    {
        std::lock_guard<std::mutex> lock(m_sweepMutex);
        m_sweepWake.notify_all();
    }
    {
        std::unique_lock<std::mutex> lock(m_poolMutex);
        m_poolDone.wait(lock, [this] { return m_workers == 0 && !m_running; });
    }
    for (const auto& [id, c] : m_connections)
        ::close(c->fd);
    for (const int fd : {m_listener, m_epoll, m_ready, m_stop, m_spare})
        if (fd >= 0)
            ::close(fd);
}

void Server::run()
{
    {
        std::lock_guard<std::mutex> lock(m_poolMutex);
        if (m_stopping)
            return;
        m_running = true;
    }
    for (int i = 0; i < std::min(ResidentWorkers, m_config.workers); ++i)
        startWorker();
    while (!m_stopping)
    {
        {
            std::unique_lock<std::mutex> lock(m_sweepMutex);
            while (!m_stopping && Clock::now() < m_nextSweep)
            {
                if (m_nextSweep == Clock::time_point::max())
                    m_sweepWake.wait(lock);
                else
                    m_sweepWake.wait_until(lock, m_nextSweep);
            }
            m_nextSweep = Clock::time_point::max();
        }
        if (!m_stopping)
            sweep();
    }
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_running = false;
    m_poolDone.notify_all();
}

void Server::startWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_poolMutex);
        ++m_workers;
    }
    std::thread(&Server::workerLoop, this).detach();
}

void Server::workerLoop()
{
    std::unique_ptr<WorkerDatabases> databases;
    try
    {
        databases = std::make_unique<WorkerDatabases>(m_dataDir);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "harbroker: a worker cannot open the database: %s\n", e.what());
        std::lock_guard<std::mutex> lock(m_poolMutex);
        --m_workers;
        m_poolDone.notify_all();
        return;
    }
    for (;;)
    {
        if (m_stopping)
        {
            std::lock_guard<std::mutex> lock(m_poolMutex);
            --m_workers;
            m_poolDone.notify_all();
            return;
        }
        epoll_event event{};
        ++m_waiting;
        const int count = ::epoll_wait(m_epoll, &event, 1, WorkerIdleMs);
        --m_waiting;
        if (count < 0)
            continue;
        if (count == 0)
        {
            std::lock_guard<std::mutex> lock(m_poolMutex);
            if (m_workers > ResidentWorkers)
            {
                --m_workers;
                m_poolDone.notify_all();
                return;
            }
            continue;
        }
        if (event.data.u64 == StopId)
            continue;
        dispatch(*databases, event.data.u64, event.events);
    }
}

void Server::dispatch(WorkerDatabases& databases, std::uint64_t id, std::uint32_t)
{
    if (id == ListenerId)
    {
        acceptAll();
        epoll_event event{};
        event.events = EPOLLIN | EPOLLONESHOT;
        event.data.u64 = ListenerId;
        ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, m_listener, &event);
        return;
    }
    if (id == ReadyId)
    {
        std::uint64_t one = 0;
        if (::read(m_ready, &one, sizeof one) != sizeof one)
            return;
        {
            std::lock_guard<std::mutex> lock(m_tableMutex);
            if (m_released.empty())
                return;
            id = m_released.front();
            m_released.pop_front();
        }
        const ConnectionPtr c = find(id);
        if (!c)
            return;
        std::unique_lock<std::mutex> lock(c->mutex);
        if (c->state != Connection::State::Held)
            return;
        c->state = Connection::State::Reading;
        RawFrame frame = std::move(c->held);
        c->held = RawFrame();
        if (serve(databases, *c, std::move(frame), true))
            serveFrames(databases, *c, false);
        return;
    }
    const ConnectionPtr c = find(id);
    if (!c)
        return;
    std::unique_lock<std::mutex> lock(c->mutex);
    switch (c->state)
    {
    case Connection::State::Reading:
        serveFrames(databases, *c, receiveAvailable(*c, false));
        break;
    case Connection::State::Writing:
        if (flush(*c))
            serveFrames(databases, *c, false);
        break;
    default:
        break;
    }
}

Server::ConnectionPtr Server::find(std::uint64_t id)
{
    std::lock_guard<std::mutex> lock(m_tableMutex);
    const auto found = m_connections.find(id);
    return found == m_connections.end() ? nullptr : found->second;
}

void Server::acceptAll()
{
    for (int i = 0; i < 64; ++i)
    {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        const int fd =
            ::accept4(m_listener, reinterpret_cast<sockaddr*>(&address), &size, SOCK_CLOEXEC);
        if (fd >= 0)
        {
            char text[INET_ADDRSTRLEN] = "?";
            ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            // A peer machine that vanished (not one that merely waits) is found by the kernel.
            ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
            // A worker's blocking send gives up after the stall time without progress; a
            // blocking receive after the linger (a process waiting for an answer then polls for
            // the rest of the stall time). Between requests the socket is used with MSG_DONTWAIT.
            const auto stall = m_config.stallTimeout.count();
            const timeval sendTimeout{static_cast<time_t>(stall / 1000),
                                      static_cast<suseconds_t>((stall % 1000) * 1000)};
            const timeval receiveTimeout{0, LingerMs * 1000};
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout);
            bool room = false;
            {
                std::lock_guard<std::mutex> lock(m_tableMutex);
                room = static_cast<int>(m_connections.size()) < m_config.maxConnections &&
                       m_unauthenticated < m_config.maxUnauthenticated;
            }
            if (!room && !evictOldestUnauthenticated())
            {
                std::lock_guard<std::mutex> lock(m_tableMutex);
                room = static_cast<int>(m_connections.size()) < m_config.maxConnections;
            }
            else
            {
                room = true;
            }
            if (!room)
            {
                std::fprintf(stderr, "harbroker: refused %s:%d: %d connections are open\n", text,
                             ntohs(address.sin_port), m_config.maxConnections);
                ::close(fd);
                continue;
            }
            ConnectionPtr c;
            {
                std::lock_guard<std::mutex> lock(m_tableMutex);
                c = std::make_shared<Connection>(m_nextId++, fd, text, ntohs(address.sin_port),
                                                 m_config.stallTimeout);
                c->waitingForLogin = true;
                ++m_unauthenticated;
                m_connections.emplace(c->id, c);
            }
            epoll_event event{};
            event.events = EPOLLIN | EPOLLONESHOT;
            event.data.u64 = c->id;
            ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
            noteDeadline(c->accepted + m_config.loginTimeout);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno == EMFILE || errno == ENFILE)
        {
            // No descriptor left: make room at the expense of a connection still waiting for its
            // login, or take the client with the spare descriptor and close it.
            if (evictOldestUnauthenticated())
                continue;
            if (m_spare >= 0)
            {
                ::close(m_spare);
                const int turnedAway = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (turnedAway >= 0)
                    ::close(turnedAway);
                m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
                std::fprintf(stderr, "harbroker: refused a client: no file descriptor left\n");
                if (turnedAway >= 0)
                    continue;
            }
        }
        return;
    }
}

bool Server::evictOldestUnauthenticated()
{
    std::vector<ConnectionPtr> waiting;
    {
        std::lock_guard<std::mutex> lock(m_tableMutex);
        for (const auto& [id, c] : m_connections)
            if (c->waitingForLogin)
                waiting.push_back(c);
    }
    std::sort(waiting.begin(), waiting.end(),
              [](const ConnectionPtr& a, const ConnectionPtr& b)
              { return a->accepted < b->accepted; });
    for (const ConnectionPtr& c : waiting)
    {
        std::unique_lock<std::mutex> lock(c->mutex, std::try_to_lock);
        if (!lock || c->state == Connection::State::Closed || c->loggedIn)
            continue;
        close(*c, "evicted, the oldest of " + std::to_string(m_config.maxUnauthenticated) +
                      " connections waiting for a login");
        return true;
    }
    return false;
}

bool Server::receiveAvailable(Connection& c, bool linger)
{
    thread_local std::string chunk(ReadChunk, '\0');
    std::size_t total = 0;
    bool peerClosed = false;
    while (total < ReadBudget)
    {
        // Lingering, the first read waits for the socket's receive timeout.
        const int flags = linger && total == 0 ? 0 : MSG_DONTWAIT;
        const ssize_t got = ::recv(c.fd, chunk.data(), chunk.size(), flags);
        if (got > 0)
        {
            c.decoder.append(chunk.data(), static_cast<std::size_t>(got));
            total += static_cast<std::size_t>(got);
            if (static_cast<std::size_t>(got) < chunk.size())
                break;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        peerClosed = true;
        break;
    }
    if (total > 0)
        c.lastProgress = Clock::now();
    return peerClosed;
}

void Server::serveFrames(WorkerDatabases& databases, Connection& c, bool peerClosed)
{
    bool served = false;
    for (;;)
    {
        RawFrame frame;
        switch (c.decoder.next(frame))
        {
        case FrameDecoder::Result::Invalid:
            close(c, "");
            return;
        case FrameDecoder::Result::Frame:
            if (!serve(databases, c, std::move(frame), false))
                return;
            served = true;
            continue;
        case FrameDecoder::Result::Incomplete:
            if (peerClosed)
            {
                close(c, "");
                return;
            }
            if (served && c.decoder.buffered() == 0 && m_waiting.load() > 0)
            {
                served = false;
                peerClosed = receiveAvailable(c, true);
                if (peerClosed || c.decoder.buffered() > 0)
                    continue;
            }
            c.decoder.compact();
            park(c, EPOLLIN);
            return;
        }
    }
}

bool Server::serve(WorkerDatabases& databases, Connection& c, RawFrame frame, bool released)
{
    // Keep one worker waiting for the others while this one may take long.
    if (m_waiting.load() == 0)
    {
        bool more = false;
        {
            std::lock_guard<std::mutex> lock(m_poolMutex);
            more = m_workers < m_config.workers && !m_stopping;
        }
        if (more)
            startWorker();
    }
    Session::Outcome outcome;
    try
    {
        outcome = Session(databases, m_throttle, c).serve(frame, released);
    }
    catch (const ConnectionLost& lost)
    {
        close(c, lost.reason);
        return false;
    }
    catch (const std::exception& e)
    {
        close(c, e.what());
        return false;
    }
    if (c.loggedIn)
    {
        std::lock_guard<std::mutex> lock(m_tableMutex);
        if (c.waitingForLogin)
        {
            c.waitingForLogin = false;
            --m_unauthenticated;
        }
    }
    const Clock::time_point now = Clock::now();
    if (outcome.holdSeconds > 0)
    {
        c.state = Connection::State::Held;
        c.held = std::move(frame);
        c.releaseAt = now + std::chrono::duration_cast<Clock::duration>(
                                std::chrono::duration<double>(outcome.holdSeconds));
        noteDeadline(c.releaseAt);
        return false;
    }
    c.lastRequest = now;
    c.lastProgress = now;
    c.out = std::move(outcome.reply);
    c.outSent = 0;
    return flush(c);
}

bool Server::flush(Connection& c)
{
    while (c.outSent < c.out.size())
    {
        const ssize_t sent = ::send(c.fd, c.out.data() + c.outSent, c.out.size() - c.outSent,
                                    MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent > 0)
        {
            c.outSent += static_cast<std::size_t>(sent);
            c.lastProgress = Clock::now();
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        {
            // The rest goes out as the peer reads; no worker waits for it.
            c.state = Connection::State::Writing;
            park(c, EPOLLOUT);
            return false;
        }
        close(c, "");
        return false;
    }
    std::string().swap(c.out);
    c.outSent = 0;
    c.state = Connection::State::Reading;
    if (c.closeAfterWrite)
    {
        close(c, "");
        return false;
    }
    return true;
}

void Server::park(Connection& c, std::uint32_t events)
{
    epoll_event event{};
    event.events = events | EPOLLONESHOT;
    event.data.u64 = c.id;
    ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, c.fd, &event);
    std::string reason;
    noteDeadline(deadline(c, reason));
}

void Server::close(Connection& c, const std::string& reason)
{
    if (!reason.empty())
        std::fprintf(stderr, "harbroker: closed %s: %s\n", c.name().c_str(), reason.c_str());
    c.state = Connection::State::Closed;
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, c.fd, nullptr);
    ::close(c.fd);
    c.decoder = FrameDecoder(FrameLimits::beforeLogin());
    c.out = std::string();
    c.held = RawFrame();
    std::lock_guard<std::mutex> lock(m_tableMutex);
    if (c.waitingForLogin)
    {
        c.waitingForLogin = false;
        --m_unauthenticated;
    }
    m_connections.erase(c.id);
}

void Server::release(Connection& c)
{
    c.releaseAt = Clock::time_point::max();
    {
        std::lock_guard<std::mutex> lock(m_tableMutex);
        m_released.push_back(c.id);
    }
    const std::uint64_t one = 1;
    if (::write(m_ready, &one, sizeof one) != sizeof one)
        std::fprintf(stderr, "harbroker: cannot wake a worker for a held login\n");
}

Clock::time_point Server::deadline(const Connection& c, std::string& reason) const
{
    switch (c.state)
    {
    case Connection::State::Reading:
        if (!c.loggedIn)
        {
            reason = "no login within " + seconds(m_config.loginTimeout);
            return c.accepted + m_config.loginTimeout;
        }
        if (c.decoder.buffered() > 0)
        {
            reason = "a frame stayed incomplete for " + seconds(m_config.stallTimeout);
            return c.lastProgress + m_config.stallTimeout;
        }
        if (m_config.idleTimeout.count() > 0)
        {
            reason = "idle for " + seconds(m_config.idleTimeout);
            return c.lastRequest + m_config.idleTimeout;
        }
        return Clock::time_point::max();
    case Connection::State::Writing:
        reason = "the peer read nothing for " + seconds(m_config.stallTimeout);
        return c.lastProgress + m_config.stallTimeout;
    case Connection::State::Held:
        reason.clear();
        return c.releaseAt;
    case Connection::State::Closed:
        break;
    }
    return Clock::time_point::max();
}

void Server::noteDeadline(Clock::time_point when)
{
    if (when == Clock::time_point::max())
        return;
    std::lock_guard<std::mutex> lock(m_sweepMutex);
    if (when < m_nextSweep)
    {
        m_nextSweep = when;
        m_sweepWake.notify_one();
    }
}

void Server::sweep()
{
    std::vector<ConnectionPtr> all;
    {
        std::lock_guard<std::mutex> lock(m_tableMutex);
        all.reserve(m_connections.size());
        for (const auto& [id, c] : m_connections)
            all.push_back(c);
    }
    const Clock::time_point now = Clock::now();
    Clock::time_point next = Clock::time_point::max();
    for (const ConnectionPtr& c : all)
    {
        std::unique_lock<std::mutex> lock(c->mutex, std::try_to_lock);
        if (!lock)
        {
            // Being served: its worker keeps its deadlines and notes the next one when it parks
            // the connection; look again soon in case it was only taken for a moment.
            next = std::min(next, now + std::chrono::milliseconds(250));
            continue;
        }
        std::string reason;
        const Clock::time_point due = deadline(*c, reason);
        if (due == Clock::time_point::max())
            continue;
        if (due > now)
            next = std::min(next, due);
        else if (c->state == Connection::State::Held)
            release(*c);
        else
            close(*c, reason);
    }
    if (next != Clock::time_point::max())
        noteDeadline(std::max(next, now + std::chrono::milliseconds(10)));
}
