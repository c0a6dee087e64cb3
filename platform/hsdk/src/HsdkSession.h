#pragma once

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "CaCallBack.h"
#include "HsdkSocket.h"

// What a process does with the frames the broker sends before its reply.
struct HsdkEvents
{
    std::function<void(const nlohmann::json& message)> onMessage;
    // Answers a check-out file frame (fileDone).
    std::function<nlohmann::json(const nlohmann::json& file, const std::string& bytes)> onFile;
    // Answers a check-in request for a file (file), filling its bytes.
    std::function<nlohmann::json(const nlohmann::json& send, std::string& bytes)> onSend;
};

// The connection of one CaHarvest and the state its objects share: the context names, the
// selected processes and the versions the chooser chose last. Names are kept in the ANSI code
// page, as the library gives them.
class HsdkSession
{
public:
    enum LoginResult
    {
        loginOk = 0,
        loginRefused = 1,
        loginUnreachable = 2
    };

    HsdkSession();
    ~HsdkSession();

    int Login(const char* broker, const char* user, const char* password);
    void Logout();

    // Sends one request and reads up to its reply; throws CaException when the wire fails.
    nlohmann::json Request(const nlohmann::json& request, const HsdkEvents& events = HsdkEvents(),
                           const std::string& payload = std::string());
    // As Request, and throws CaException with the broker's text when it refuses.
    nlohmann::json Call(const nlohmann::json& request);
    // Runs a process request: each message event reaches the callback as a container; the
    // result is the broker's, 1 when it refuses to start, -1 when the wire fails.
    int RunProcess(nlohmann::json request, const char* kind, CaCallBack callBack, void* process,
                   HsdkEvents events = HsdkEvents());
    // The context fields (UTF-8) every context-bound request carries.
    nlohmann::json ContextRequest(const char* op) const;

    static std::string ErrorText(const nlohmann::json& reply);
    static std::string Admin(const char* requestJson, const std::string& payload);

    std::string m_sProject;
    std::string m_sState;
    std::string m_sPackage;
    // Process names by kind (checkout, checkin, deleteversion, renameitem, removeitem).
    std::map<std::string, std::string> m_processes;
    std::vector<unsigned long> m_chosenVersions;
    void* m_pContext;

private:
    HsdkSocket m_socket;
};
