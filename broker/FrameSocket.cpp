#include "FrameSocket.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

namespace
{

constexpr int MaxNesting = 64;
// Queued frames leave once they hold this much.
constexpr std::size_t QueuedBytes = 256u << 10;

bool nestingWithin(const std::string& text, int limit)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (inString)
        {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        }
        else if (c == '"')
        {
            inString = true;
        }
        else if (c == '[' || c == '{')
        {
            if (++depth > limit)
                return false;
        }
        else if (c == ']' || c == '}')
        {
            --depth;
        }
    }
    return true;
}

} // namespace

FrameSocket::FrameSocket(int fd, FrameLimits limits) : m_fd(fd), m_decoder(limits) {}

FrameSocket::~FrameSocket()
{
    ::close(m_fd);
}

FrameTransfer receiveFrameBytes(int fd, FrameDecoder& decoder, RawFrame& frame, std::string& chunk)
{
    for (;;)
    {
        switch (decoder.next(frame))
        {
        case FrameDecoder::Result::Frame:
            return FrameTransfer::Done;
        case FrameDecoder::Result::Invalid:
            return FrameTransfer::Invalid;
        case FrameDecoder::Result::Incomplete:
            break;
        }
        // Read what the frame still needs, in bounded steps, so a large payload is not copied
        // twice.
        const std::size_t wanted = std::clamp<std::size_t>(decoder.missing(), 64 << 10, 4 << 20);
        if (chunk.size() < wanted)
            chunk.resize(wanted);
        const ssize_t got = ::recv(fd, chunk.data(), wanted, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return FrameTransfer::TimedOut;
        if (got <= 0)
            return FrameTransfer::Closed;
        decoder.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

FrameTransfer sendFrameBytes(int fd, std::string_view head, std::string_view payload)
{
    iovec parts[2] = {{const_cast<char*>(head.data()), head.size()},
                      {const_cast<char*>(payload.data()), payload.size()}};
    int first = 0;
    while (first < 2)
    {
        msghdr message{};
        message.msg_iov = parts + first;
        message.msg_iovlen = static_cast<std::size_t>(2 - first);
        ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return FrameTransfer::TimedOut;
        if (sent < 0)
            return FrameTransfer::Closed;
        while (first < 2 && static_cast<std::size_t>(sent) >= parts[first].iov_len)
        {
            sent -= static_cast<ssize_t>(parts[first].iov_len);
            ++first;
        }
        if (first < 2)
        {
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + sent;
            parts[first].iov_len -= static_cast<std::size_t>(sent);
        }
    }
    return FrameTransfer::Done;
}

bool FrameSocket::receive(RawFrame& frame)
{
    if (m_decoder.next(frame) == FrameDecoder::Result::Frame)
        return true;
    if (!flush())
        return false;
    switch (receiveFrameBytes(m_fd, m_decoder, frame, m_chunk))
    {
    case FrameTransfer::Done:
        return true;
    case FrameTransfer::Invalid:
        m_error = m_decoder.error();
        return false;
    case FrameTransfer::Closed:
        m_error = "connection closed";
        return false;
    case FrameTransfer::TimedOut:
        break;
    }
    m_error = "receive timed out";
    return false;
}

bool FrameSocket::send(const nlohmann::json& header, std::string_view payload)
{
    if (flush() && sendFrameBytes(m_fd, frameHead(headerText(header), payload.size()), payload) ==
                       FrameTransfer::Done)
        return true;
    m_error = "send failed";
    return false;
}

bool FrameSocket::queue(const nlohmann::json& header, std::string_view payload)
{
    m_queued += frameHead(headerText(header), payload.size());
    m_queued += payload;
    return m_queued.size() < QueuedBytes || flush();
}

bool FrameSocket::flush()
{
    if (m_queued.empty())
        return true;
    const bool sent = sendFrameBytes(m_fd, m_queued, {}) == FrameTransfer::Done;
    m_queued.clear();
    if (!sent)
        m_error = "send failed";
    return sent;
}

std::string FrameSocket::headerText(const nlohmann::json& header)
{
    return header.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string FrameSocket::frameHead(const std::string& text, std::size_t payloadSize)
{
    std::string head = FrameDecoder::prefix(text.size(), payloadSize);
    head += text;
    return head;
}

void FrameSocket::shutdown()
{
    ::shutdown(m_fd, SHUT_RDWR);
}

bool FrameSocket::parseHeader(const std::string& text, nlohmann::json& header)
{
    if (!nestingWithin(text, MaxNesting))
        return false;
    header = nlohmann::json::parse(text, nullptr, false);
    return header.is_object();
}
