#include "Connection.h"

#include "FrameSocket.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <sys/socket.h>

namespace
{

std::string seconds(std::chrono::milliseconds time)
{
    const auto ms = time.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

} // namespace

Connection::Connection(std::uint64_t id, int fd, std::string peer, int peerPort,
                       std::chrono::milliseconds stall)
    : id(id), fd(fd), peer(std::move(peer)), peerPort(peerPort), accepted(Clock::now()),
      stall(stall), lastRequest(accepted), lastProgress(accepted)
{
}

std::string Connection::name() const
{
    std::string text = peer + ":" + std::to_string(peerPort);
    if (loggedIn)
        text += " (" + user + ")";
    return text;
}

void sendFrame(Connection& c, const nlohmann::json& header, std::string_view payload)
{
    const std::string head =
        FrameSocket::frameHead(FrameSocket::headerText(header), payload.size());
    switch (sendFrameBytes(c.fd, head, payload))
    {
    case FrameTransfer::Done:
        c.lastProgress = Clock::now();
        return;
    case FrameTransfer::TimedOut:
        throw ConnectionLost{"the peer read nothing for " + seconds(c.stall)};
    default:
        throw ConnectionLost{};
    }
}

void receiveFrame(Connection& c, RawFrame& frame)
{
    thread_local std::string chunk;
    for (;;)
    {
        const FrameTransfer result = receiveFrameBytes(c.fd, c.decoder, frame, chunk);
        if (chunk.capacity() > (1u << 20))
            std::string().swap(chunk); // a worker keeps no big buffer between files
        switch (result)
        {
        case FrameTransfer::Done:
            c.lastProgress = Clock::now();
            return;
        case FrameTransfer::TimedOut:
        {
            // The socket's receive timeout is short (see Server); the stall time is waited here.
            pollfd more{c.fd, POLLIN, 0};
            const auto wait = std::min<std::chrono::milliseconds::rep>(c.stall.count(), INT_MAX);
            if (::poll(&more, 1, static_cast<int>(wait)) > 0)
                continue;
            throw ConnectionLost{"the peer sent nothing for " + seconds(c.stall)};
        }
        default:
            throw ConnectionLost{};
        }
    }
}

bool pollFrame(Connection& c, RawFrame& frame)
{
    thread_local std::string chunk(64u << 10, '\0');
    for (;;)
    {
        switch (c.decoder.next(frame))
        {
        case FrameDecoder::Result::Frame:
            c.lastProgress = Clock::now();
            return true;
        case FrameDecoder::Result::Invalid:
            throw ConnectionLost{};
        case FrameDecoder::Result::Incomplete:
            break;
        }
        const ssize_t got = ::recv(c.fd, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (got > 0)
        {
            c.decoder.append(chunk.data(), static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return false;
        throw ConnectionLost{};
    }
}
