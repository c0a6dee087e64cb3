#include "FrameSocket.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

namespace
{

constexpr int MaxNesting = 64;

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

bool FrameSocket::receive(RawFrame& frame)
{
    for (;;)
    {
        switch (m_decoder.next(frame))
        {
        case FrameDecoder::Result::Frame:
            return true;
        case FrameDecoder::Result::Invalid:
            m_error = m_decoder.error();
            return false;
        case FrameDecoder::Result::Incomplete:
            break;
        }
        // Read what the frame still needs, in bounded steps, so a large payload is not copied
        // twice.
        const std::size_t wanted = std::clamp<std::size_t>(m_decoder.missing(), 64 << 10, 4 << 20);
        if (m_chunk.size() < wanted)
            m_chunk.resize(wanted);
        const ssize_t got = ::recv(m_fd, m_chunk.data(), wanted, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
        {
            m_error = got == 0 ? "connection closed" : "receive failed";
            return false;
        }
        m_decoder.append(m_chunk.data(), static_cast<std::size_t>(got));
    }
}

bool FrameSocket::send(const nlohmann::json& header, std::string_view payload)
{
    const std::string text = header.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    const std::string prefix = FrameDecoder::prefix(text.size(), payload.size());
    iovec parts[3] = {{const_cast<char*>(prefix.data()), prefix.size()},
                      {const_cast<char*>(text.data()), text.size()},
                      {const_cast<char*>(payload.data()), payload.size()}};
    int first = 0;
    while (first < 3)
    {
        msghdr message{};
        message.msg_iov = parts + first;
        message.msg_iovlen = static_cast<std::size_t>(3 - first);
        ssize_t sent = ::sendmsg(m_fd, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0)
        {
            m_error = "send failed";
            return false;
        }
        while (first < 3 && static_cast<std::size_t>(sent) >= parts[first].iov_len)
        {
            sent -= static_cast<ssize_t>(parts[first].iov_len);
            ++first;
        }
        if (first < 3)
        {
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + sent;
            parts[first].iov_len -= static_cast<std::size_t>(sent);
        }
    }
    return true;
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
