#include "FrameDecoder.h"

namespace
{

constexpr std::size_t PrefixSize = 8;

std::uint32_t readBigEndian(const std::string& buffer, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(buffer[at + i]);
    return value;
}

} // namespace

void FrameDecoder::append(const char* data, std::size_t size)
{
    if (m_offset > 0 && m_offset >= m_buffer.size() / 2)
    {
        m_buffer.erase(0, m_offset);
        m_offset = 0;
    }
    m_buffer.append(data, size);
}

FrameDecoder::Result FrameDecoder::next(RawFrame& frame)
{
    if (!m_error.empty())
        return Result::Invalid;
    const std::size_t available = m_buffer.size() - m_offset;
    if (available < PrefixSize)
        return Result::Incomplete;
    const std::uint32_t headerSize = readBigEndian(m_buffer, m_offset);
    const std::uint32_t payloadSize = readBigEndian(m_buffer, m_offset + 4);
    if (headerSize == 0)
    {
        m_error = "empty frame header";
        return Result::Invalid;
    }
    if (headerSize > m_limits.maxHeader || payloadSize > m_limits.maxPayload)
    {
        m_error = "frame too large";
        return Result::Invalid;
    }
    const std::size_t total = PrefixSize + headerSize + static_cast<std::size_t>(payloadSize);
    if (available < total)
        return Result::Incomplete;
    const std::size_t start = m_offset + PrefixSize;
    frame.header.assign(m_buffer, start, headerSize);
    frame.payload.assign(m_buffer, start + headerSize, payloadSize);
    m_offset += total;
    if (m_offset == m_buffer.size())
    {
        m_buffer.clear();
        m_offset = 0;
    }
    return Result::Frame;
}

void FrameDecoder::compact()
{
    if (buffered() == 0)
    {
        std::string().swap(m_buffer);
        m_offset = 0;
    }
}

std::size_t FrameDecoder::missing() const
{
    const std::size_t available = m_buffer.size() - m_offset;
    if (available < PrefixSize)
        return PrefixSize - available;
    const std::size_t total = PrefixSize + readBigEndian(m_buffer, m_offset) +
                              static_cast<std::size_t>(readBigEndian(m_buffer, m_offset + 4));
    return total > available ? total - available : 1;
}

std::string FrameDecoder::prefix(std::size_t headerSize, std::size_t payloadSize)
{
    std::string bytes(PrefixSize, '\0');
    for (int i = 0; i < 4; ++i)
    {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((headerSize >> (24 - 8 * i)) & 0xff);
        bytes[static_cast<std::size_t>(4 + i)] =
            static_cast<char>((payloadSize >> (24 - 8 * i)) & 0xff);
    }
    return bytes;
}
