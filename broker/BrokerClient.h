#pragma once

#include "FrameSocket.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A native client of harbroker: sends a request and plays the client's part of a running process
// (writing check-out files, sending check-in files) until the reply. Client folders are native
// paths; the backslashes of the wire become slashes here.
class BrokerClient
{
public:
    BrokerClient(const std::string& host, int port);

    static int connectTo(const std::string& host, int port);

    // The final reply; message events are kept in messages().
    nlohmann::json request(const nlohmann::json& header, const std::string& payload = {});
    nlohmann::json login(const std::string& user, const std::string& password,
                         const std::string& machine);
    const std::vector<nlohmann::json>& messages() const { return m_messages; }
    // Called with every event before it is handled (tests use it to interrupt a process).
    void onEvent(std::function<void(const nlohmann::json&)> hook) { m_hook = std::move(hook); }

    static std::string nativePath(const std::string& wirePath);

private:
    void writeFile(const std::string& clientDir, const nlohmann::json& event,
                   const std::string& bytes);
    void sendFile(const std::string& clientDir, const nlohmann::json& event);

    std::unique_ptr<FrameSocket> m_socket;
    std::vector<nlohmann::json> m_messages;
    std::function<void(const nlohmann::json&)> m_hook;
};
