#pragma once

#include <cstdint>
#include <string>

// One TCP connection carrying the broker's frames: a big-endian JSON length, a big-endian
// payload length, the JSON text, the payload bytes.
class HsdkSocket
{
public:
    HsdkSocket();
    ~HsdkSocket();
    HsdkSocket(const HsdkSocket&) = delete;
    HsdkSocket& operator=(const HsdkSocket&) = delete;

    // Tries every address of the host within a few seconds each; false when none answers.
    bool Connect(const std::string& host, const std::string& port);
    void Close();
    bool IsOpen() const;
    bool Send(const std::string& json, const std::string& payload);
    bool Receive(std::string& json, std::string& payload);

private:
    bool SendAll(const char* data, size_t length);
    bool ReceiveAll(char* data, size_t length);

    bool m_bStarted;
    // A SOCKET, kept as its integer type so that this header needs no winsock2.h.
    std::uintptr_t m_socket;
};
