#include <winsock2.h>
#include <windows.h>
#include "FakeBroker.h"

namespace
{
unsigned long Length(const char* bytes)
{
    unsigned long value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

std::string Op(const std::string& json)
{
    const std::string key = "\"op\":\"";
    const size_t start = json.find(key);
    if (start == std::string::npos)
        return std::string();
    const size_t end = json.find('"', start + key.size());
    return json.substr(start + key.size(), end - start - key.size());
}
} // namespace

FakeBroker::FakeBroker(Script script)
    : m_script(std::move(script)),
      m_listener([this](LoopbackListener::Socket connection) { Serve(connection); })
{
}

std::string FakeBroker::Frame(const std::string& json, const std::string& payload)
{
    std::string frame;
    for (const size_t length : {json.size(), payload.size()})
        for (int shift = 24; shift >= 0; shift -= 8)
            frame += static_cast<char>((length >> shift) & 0xff);
    return frame + json + payload;
}

void FakeBroker::Serve(LoopbackListener::Socket connection)
{
    while (m_listener.WaitReadable(connection))
    {
        char lengths[8];
        if (!LoopbackListener::ReceiveAll(connection, lengths, sizeof(lengths)))
            return;
        std::string json(Length(lengths), '\0');
        std::string payload(Length(lengths + 4), '\0');
        if (!LoopbackListener::ReceiveAll(connection, &json[0], json.size()) ||
            !LoopbackListener::ReceiveAll(connection, &payload[0], payload.size()))
            return;
        const Answer answer = m_script(Op(json), json);
        if (!LoopbackListener::SendAll(connection, answer.bytes) || answer.close)
            return;
    }
}
