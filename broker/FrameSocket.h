#pragma once

#include "FrameDecoder.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// A connected stream socket that carries frames; owns the descriptor.
class FrameSocket
{
public:
    FrameSocket(int fd, FrameLimits limits);
    FrameSocket(const FrameSocket&) = delete;
    FrameSocket& operator=(const FrameSocket&) = delete;
    ~FrameSocket();

    void setLimits(FrameLimits limits) { m_decoder.setLimits(limits); }
    // Blocks for the next frame; false when the peer closed or sent a frame that breaks the
    // framing.
    bool receive(RawFrame& frame);
    bool send(const nlohmann::json& header, std::string_view payload = {});
    void shutdown();
    const std::string& error() const { return m_error; }

    // Parses a header into a JSON object; false for anything else (or nesting deeper than sane).
    static bool parseHeader(const std::string& text, nlohmann::json& header);

private:
    int m_fd;
    FrameDecoder m_decoder;
    std::string m_chunk;
    std::string m_error;
};
