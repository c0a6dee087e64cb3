#pragma once

#include "FrameDecoder.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// How a blocking frame transfer on a socket ended. A socket with send and receive timeouts ends
// with TimedOut when the peer made no progress for that long.
enum class FrameTransfer
{
    Done,
    Closed,   // the peer closed, or the socket failed
    TimedOut, // no progress within the socket's timeout
    Invalid   // the bytes broke the framing
};

// Sends one frame (the encoded prefix and header, then the payload) whole, blocking.
FrameTransfer sendFrameBytes(int fd, std::string_view head, std::string_view payload);
// Reads until the decoder holds the next frame, blocking; `chunk` is the read buffer.
FrameTransfer receiveFrameBytes(int fd, FrameDecoder& decoder, RawFrame& frame, std::string& chunk);

// A connected stream socket that carries frames; owns the descriptor.
class FrameSocket
{
public:
    FrameSocket(int fd, FrameLimits limits);
    FrameSocket(const FrameSocket&) = delete;
    FrameSocket& operator=(const FrameSocket&) = delete;
    ~FrameSocket();

    void setLimits(FrameLimits limits) { m_decoder.setLimits(limits); }
    // Blocks for the next frame, sending the queued frames first when it has not arrived yet;
    // false when the peer closed or sent a frame that breaks the framing.
    bool receive(RawFrame& frame);
    bool send(const nlohmann::json& header, std::string_view payload = {});
    // Adds a frame to those that leave together before the next wait for the peer (or once they
    // fill a buffer): a run of answers costs one send.
    bool queue(const nlohmann::json& header, std::string_view payload = {});
    // Forgets the queued frames (the exchange they answer is over).
    void dropQueued() { m_queued.clear(); }
    void shutdown();
    const std::string& error() const { return m_error; }

    // Parses a header into a JSON object; false for anything else (or nesting deeper than sane).
    static bool parseHeader(const std::string& text, nlohmann::json& header);
    // A header as sent (invalid UTF-8 replaced), and the frame's prefix followed by that text.
    static std::string headerText(const nlohmann::json& header);
    static std::string frameHead(const std::string& headerText, std::size_t payloadSize);

private:
    int m_fd;
    FrameDecoder m_decoder;
    bool flush();

    std::string m_chunk;
    std::string m_queued;
    std::string m_error;
};
