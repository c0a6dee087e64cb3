#pragma once

#include <cstdint>
#include <string>

#include "HsdkDeadlines.h"

// One TCP connection carrying the broker's frames: a big-endian JSON length, a big-endian
// payload length, the JSON text, the payload bytes. Any failure closes it.
class HsdkSocket
{
public:
    enum Failure
    {
        failNone,
        // The broker closed or reset the connection.
        failLost,
        failTimedOut,
        failMalformed
    };

    HsdkSocket();
    ~HsdkSocket();
    HsdkSocket(const HsdkSocket&) = delete;
    HsdkSocket& operator=(const HsdkSocket&) = delete;

    // Tries every address of the host, each within the connect deadline; false when none answers.
    bool Connect(const std::string& host, const std::string& port, const HsdkDeadlines& deadlines);
    void Close();
    bool IsOpen() const;
    // Between requests the broker has nothing to say: a connection it closed (a restart, an idle
    // session dropped) or spoke on unasked is closed here, before a request could be lost in it.
    bool IsStale();
    // Sends the queued frames and this one.
    bool Send(const std::string& json, const std::string& payload);
    // Adds a frame to those that leave together before the next receive that would wait (or once
    // they fill a buffer): a run of answers to frames that came together costs one send.
    bool Queue(const std::string& json, const std::string& payload);
    // Forgets the queued frames: the exchange they answer ended without them.
    void DropQueued();
    bool Receive(std::string& json, std::string& payload);
    // Why the last Send or Receive failed, as kind and as English text.
    Failure LastFailure() const;
    std::string FailureText() const;

private:
    bool SendAll(const char* data, size_t length);
    bool Flush();
    size_t Buffered() const;
    bool HasFrame() const;
    // Receives until at least length bytes are buffered, taking whatever else has arrived too.
    bool Fill(size_t length);
    // Moves length bytes into out: the ones received already, then more from the socket.
    bool Take(std::string& out, size_t length);
    // What one receive gives, at most length bytes; 0 when it failed.
    int ReceiveSome(char* data, size_t length);
    bool Fail(Failure failure);
    // From a Winsock error.
    bool FailWithError(int error);

    bool m_bStarted;
    // A SOCKET, kept as its integer type so that this header needs no winsock2.h.
    std::uintptr_t m_socket;
    unsigned long m_nReplyMs;
    // Received beyond the last frame, from m_nTaken on: a reply's bytes come in one call, not
    // one per part, and frames that arrive together in one call for all of them.
    std::string m_buffer;
    size_t m_nTaken;
    std::string m_queued;
    Failure m_failure;
    int m_nError;
};
