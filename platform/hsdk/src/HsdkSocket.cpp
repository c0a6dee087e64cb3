#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>

#include "HsdkSocket.h"

#include <algorithm>
#include <cstdio>

namespace
{
const unsigned long kMaxJson = 16u << 20;
const unsigned long kMaxPayload = 64u << 20;
// A send's deadline covers one call, so a big file goes in pieces: the deadline then counts
// progress, not the whole file.
const size_t kSendChunk = 64u << 10;
// What one receive takes at most into the buffer; a larger rest of a payload is received in place.
const size_t kReceiveChunk = 256u << 10;
// Queued frames leave once they hold this much.
const size_t kQueuedBytes = 4 * kSendChunk;

void PutLength(char* out, unsigned long value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
}

// A frame's lengths and JSON text; its payload follows.
void AppendHead(std::string& out, const std::string& json, size_t payloadSize)
{
    char lengths[8];
    PutLength(lengths, static_cast<unsigned long>(json.size()));
    PutLength(lengths + 4, static_cast<unsigned long>(payloadSize));
    out.append(lengths, sizeof(lengths));
    out += json;
}

unsigned long GetLength(const char* in)
{
    unsigned long value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(in[i]);
    return value;
}

timeval Interval(unsigned long milliseconds)
{
    return {static_cast<long>(milliseconds / 1000), static_cast<long>(milliseconds % 1000 * 1000)};
}

bool ConnectWithin(SOCKET s, const sockaddr* address, int length, unsigned long milliseconds)
{
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, address, length) != 0 && WSAGetLastError() != WSAEWOULDBLOCK)
        return false;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    timeval timeout = Interval(milliseconds);
    if (select(0, nullptr, &writable, &failed, &timeout) != 1 || !FD_ISSET(s, &writable))
        return false;
    int error = 0;
    int size = sizeof(error);
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    nonBlocking = 0;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    return error == 0;
}
} // namespace

HsdkSocket::HsdkSocket()
    : m_bStarted(false), m_socket(INVALID_SOCKET), m_nReplyMs(0), m_nTaken(0), m_failure(failNone),
      m_nError(0)
{
}

HsdkSocket::~HsdkSocket()
{
    Close();
    if (m_bStarted)
        WSACleanup();
}

bool HsdkSocket::Connect(const std::string& host, const std::string& port,
                         const HsdkDeadlines& deadlines)
{
    Close();
    if (!m_bStarted)
    {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return false;
        m_bStarted = true;
    }
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* addresses = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &addresses) != 0)
        return false;
    for (addrinfo* a = addresses; a && m_socket == INVALID_SOCKET; a = a->ai_next)
    {
        SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET)
            continue;
        if (ConnectWithin(s, a->ai_addr, static_cast<int>(a->ai_addrlen), deadlines.m_nConnectMs))
            m_socket = s;
        else
            closesocket(s);
    }
    freeaddrinfo(addresses);
    if (m_socket == INVALID_SOCKET)
        return false;
    // Each receive and send waits at most this long for any progress.
    m_nReplyMs = deadlines.m_nReplyMs;
    const DWORD timeout = m_nReplyMs;
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof(timeout));
    setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof(timeout));
    BOOL noDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof(noDelay));
    return true;
}

void HsdkSocket::Close()
{
    m_buffer.clear();
    m_nTaken = 0;
    m_queued.clear();
    if (m_socket != INVALID_SOCKET)
    {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

bool HsdkSocket::IsOpen() const
{
    return m_socket != INVALID_SOCKET;
}

bool HsdkSocket::IsStale()
{
    if (Buffered() > 0)
    {
        Close();
        return true;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval now = {0, 0};
    if (select(0, &readable, nullptr, nullptr, &now) == 0)
        return false;
    Close();
    return true;
}

bool HsdkSocket::Send(const std::string& json, const std::string& payload)
{
    m_failure = failNone;
    // A small frame goes in one call with the queued ones: a socket call costs more than the copy.
    const bool together = payload.size() <= kSendChunk;
    AppendHead(m_queued, json, payload.size());
    if (together)
        m_queued += payload;
    return Flush() && (together || SendAll(payload.data(), payload.size()));
}

bool HsdkSocket::Queue(const std::string& json, const std::string& payload)
{
    if (payload.size() > kSendChunk)
        return Send(json, payload);
    m_failure = failNone;
    AppendHead(m_queued, json, payload.size());
    m_queued += payload;
    return m_queued.size() < kQueuedBytes || Flush();
}

void HsdkSocket::DropQueued()
{
    m_queued.clear();
}

bool HsdkSocket::Receive(std::string& json, std::string& payload)
{
    m_failure = failNone;
    // The queued answers go before any wait: the broker may be waiting for them.
    if (!HasFrame() && !Flush())
        return false;
    if (!Fill(8))
        return false;
    const unsigned long jsonLength = GetLength(m_buffer.data() + m_nTaken);
    const unsigned long payloadLength = GetLength(m_buffer.data() + m_nTaken + 4);
    if (jsonLength == 0 || jsonLength > kMaxJson || payloadLength > kMaxPayload)
        return Fail(failMalformed);
    m_nTaken += 8;
    return Take(json, jsonLength) && Take(payload, payloadLength);
}

HsdkSocket::Failure HsdkSocket::LastFailure() const
{
    return m_failure;
}

std::string HsdkSocket::FailureText() const
{
    char text[120];
    switch (m_failure)
    {
    case failTimedOut:
        std::snprintf(text, sizeof(text), "The broker did not answer within %lu.%lu s.",
                      m_nReplyMs / 1000, m_nReplyMs % 1000 / 100);
        break;
    case failMalformed:
        std::snprintf(text, sizeof(text), "The broker sent a frame outside the size limits.");
        break;
    default:
        if (m_nError == 0)
            std::snprintf(text, sizeof(text), "The broker closed the connection.");
        else
            std::snprintf(text, sizeof(text), "The connection to the broker broke (error %d).",
                          m_nError);
    }
    return text;
}

bool HsdkSocket::SendAll(const char* data, size_t length)
{
    while (length > 0)
    {
        if (m_socket == INVALID_SOCKET)
            return Fail(failLost);
        const int sent = send(m_socket, data, static_cast<int>(std::min(length, kSendChunk)), 0);
        if (sent <= 0)
            return FailWithError(WSAGetLastError());
        data += sent;
        length -= sent;
    }
    return true;
}

bool HsdkSocket::Flush()
{
    if (m_queued.empty())
        return true;
    const bool sent = SendAll(m_queued.data(), m_queued.size());
    m_queued.clear();
    return sent;
}

size_t HsdkSocket::Buffered() const
{
    return m_buffer.size() - m_nTaken;
}

bool HsdkSocket::HasFrame() const
{
    if (Buffered() < 8)
        return false;
    const char* at = m_buffer.data() + m_nTaken;
    return Buffered() - 8 >= static_cast<size_t>(GetLength(at)) + GetLength(at + 4);
}

bool HsdkSocket::Fill(size_t length)
{
    m_buffer.erase(0, m_nTaken);
    m_nTaken = 0;
    while (m_buffer.size() < length)
    {
        const size_t had = m_buffer.size();
        m_buffer.resize(had + kReceiveChunk);
        const int received = ReceiveSome(&m_buffer[had], kReceiveChunk);
        if (received == 0)
            return false;
        m_buffer.resize(had + received);
    }
    return true;
}

bool HsdkSocket::Take(std::string& out, size_t length)
{
    const size_t buffered = std::min(length, Buffered());
    out.assign(m_buffer, m_nTaken, buffered);
    m_nTaken += buffered;
    const size_t rest = length - buffered;
    if (rest == 0)
        return true;
    if (rest < kReceiveChunk)
    {
        if (!Fill(rest))
            return false;
        out.append(m_buffer, 0, rest);
        m_nTaken = rest;
        return true;
    }
    out.resize(length);
    for (size_t done = buffered; done < length;)
    {
        const int received = ReceiveSome(&out[done], length - done);
        if (received == 0)
            return false;
        done += received;
    }
    return true;
}

int HsdkSocket::ReceiveSome(char* data, size_t length)
{
    if (m_socket == INVALID_SOCKET)
        return Fail(failLost);
    const int received = recv(m_socket, data, static_cast<int>(length), 0);
    if (received == 0)
        return Fail(failLost);
    if (received < 0)
        return FailWithError(WSAGetLastError());
    return received;
}

bool HsdkSocket::Fail(Failure failure)
{
    m_failure = failure;
    m_nError = 0;
    Close();
    return false;
}

bool HsdkSocket::FailWithError(int error)
{
    Fail(error == WSAETIMEDOUT ? failTimedOut : failLost);
    m_nError = error;
    return false;
}
