#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Size bounds of one frame; a peer that is not logged in gets the small ones.
struct FrameLimits
{
    std::uint32_t maxHeader;
    std::uint32_t maxPayload;

    static FrameLimits session() { return {16u << 20, 64u << 20}; }
    static FrameLimits beforeLogin() { return {64u << 10, 0}; }
};

// One frame as it arrived: the JSON header's text and the binary payload.
struct RawFrame
{
    std::string header;
    std::string payload;
};

// Splits a byte stream into frames: two big-endian 32-bit lengths (header, payload), then the
// header text and the payload. Lengths are checked before anything is buffered for them.
class FrameDecoder
{
public:
    enum class Result
    {
        Incomplete,
        Frame,
        Invalid
    };

    explicit FrameDecoder(FrameLimits limits) : m_limits(limits) {}

    void setLimits(FrameLimits limits) { m_limits = limits; }
    void append(const char* data, std::size_t size);
    Result next(RawFrame& frame);
    // How many more bytes the frame being read still needs (at least 1 when incomplete).
    std::size_t missing() const;
    // Bytes received and not yet returned as a frame.
    std::size_t buffered() const { return m_buffer.size() - m_offset; }
    // Gives the buffer's memory back when nothing is buffered (an idle connection keeps none).
    void compact();
    const std::string& error() const { return m_error; }

    static std::string prefix(std::size_t headerSize, std::size_t payloadSize);

private:
    FrameLimits m_limits;
    std::string m_buffer;
    std::size_t m_offset = 0;
    std::string m_error;
};
