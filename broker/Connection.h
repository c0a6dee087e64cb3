#pragma once

#include "ContextCache.h"
#include "FrameDecoder.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

using Clock = std::chrono::steady_clock;

// One client connection as the server keeps it between requests: the socket, the login, what has
// arrived of the next frame and what is left to send. Small on purpose: an idle connection holds
// no buffer and no thread. Whoever holds `mutex` may use the rest; `id`, `fd`, `peer`, `accepted`
// are fixed and `loggedIn` is also read without the mutex.
struct Connection
{
    enum class State
    {
        Reading, // waiting for (the rest of) a request frame
        Writing, // a reply is partly sent; waiting until the peer reads
        Held,    // a login request waits for its throttling delay
        Closed
    };

    Connection(std::uint64_t id, int fd, std::string peer, int peerPort,
               std::chrono::milliseconds stall);

    // "127.0.0.1:40000" or "127.0.0.1:40000 (dev1)", for the log.
    std::string name() const;

    const std::uint64_t id;
    const int fd;
    const std::string peer;
    const int peerPort;
    const Clock::time_point accepted;
    const std::chrono::milliseconds stall; // no progress for this long ends a transfer

    std::mutex mutex;
    State state = State::Reading;
    std::atomic<bool> loggedIn{false};
    bool admin = false;
    bool closeAfterWrite = false;
    std::string user;
    std::string machine;
    ContextCache contexts;
    FrameDecoder decoder{FrameLimits::beforeLogin()};
    std::string out;
    std::size_t outSent = 0;
    RawFrame held;
    Clock::time_point lastRequest;
    Clock::time_point lastProgress;
    Clock::time_point releaseAt;
    // Counted among the connections waiting for a login; guarded by the server's table mutex.
    bool waitingForLogin = false;
};

// The client broke off or stopped making progress during a request; the connection ends. A
// non-empty reason is logged.
struct ConnectionLost
{
    std::string reason;
};

// Frame I/O of a worker serving a request (the events and answers of a running process). Each
// waits for progress at most the connection's stall time, never for ever. All throw
// ConnectionLost.
void sendFrame(Connection& connection, const nlohmann::json& header, std::string_view payload = {});
void receiveFrame(Connection& connection, RawFrame& frame);
// The next frame if it has arrived whole already; never waits.
bool pollFrame(Connection& connection, RawFrame& frame);
