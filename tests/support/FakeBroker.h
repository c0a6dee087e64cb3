#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "LoopbackListener.h"

// A broker stand-in on a loopback port inside the test process: it reads every frame the SDK
// sends and answers with whatever the test's script gives, well-formed or not.
class FakeBroker
{
public:
    // Bytes to send, then the connection is closed or kept; no bytes and kept is silence.
    struct Answer
    {
        std::string bytes;
        bool close;
    };
    // op is the frame's "op" ("login", "chooseVersions", "fileDone", ...), request its JSON.
    using Script = std::function<Answer(const std::string& op, const std::string& request)>;

    explicit FakeBroker(Script script);

    std::string Address() const { return m_listener.Address(); }
    int Connections() const { return m_listener.Accepted(); }

    // One frame as the wire carries it.
    static std::string Frame(const std::string& json, const std::string& payload = std::string());

private:
    void Serve(LoopbackListener::Socket connection);

    Script m_script;
    LoopbackListener m_listener;
};
