#pragma once

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
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
// page, as the library gives them. Every request carries the context it needs, so a lost
// connection is replaced by logging in again with the last accepted credentials, and the
// context holds across it.
class HsdkSession
{
public:
    enum LoginResult
    {
        loginOk = 0,
        loginRefused = 1,
        loginUnreachable = 2
    };
    // A process whose outcome the wire lost.
    enum
    {
        processWireFailed = -1
    };

    HsdkSession();
    ~HsdkSession();

    int Login(const char* broker, const char* user, const char* password);
    // Never fails: the broker's answer is not awaited.
    void Logout();

    // A request that changes nothing on the broker, so it runs once more, on a new connection,
    // when the connection was lost under it. Throws CaException when the wire fails.
    nlohmann::json Read(const nlohmann::json& request);
    // As Read, and throws CaException with the broker's text when it refuses.
    nlohmann::json Call(const nlohmann::json& request);
    // Runs a process request, never more than once: its outcome is unknown when the wire fails.
    // Each message event reaches the callback as a container; the result is the broker's, 1 when
    // it refuses to start. Throws CaException when the wire fails.
    int RunProcess(nlohmann::json request, const char* kind, CaCallBack callBack, void* process,
                   HsdkEvents events = HsdkEvents());
    // The context fields (UTF-8) every context-bound request carries.
    nlohmann::json ContextRequest(const char* op) const;
    // The processes of the context's state as the broker listed them, asked for when not known
    // (a check-out selects its process for every file). Forgotten with the connection.
    // Name and kind of each, as the wire has them.
    using ProcessList = std::vector<std::pair<std::string, std::string>>;
    const ProcessList& Processes();
    bool HasProcessList() const { return m_processList.has_value(); }
    void ForgetProcessList() { m_processList.reset(); }
    // Drops the selected processes and the list they were chosen from: the state changed.
    void ForgetProcesses();

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
    // Connects and logs in; the connection stays open only when the broker accepts.
    int Open(const std::string& broker, const std::string& user, const std::string& password);
    // The open connection, or a new one after it was lost; throws CaException when there is none.
    void Reopen();
    // One request up to its reply, answering the frames of a process on the way.
    nlohmann::json Exchange(const nlohmann::json& request, const HsdkEvents& events,
                            const std::string& payload);
    nlohmann::json ReceiveFrame(std::string& payload);
    void SendFrame(const nlohmann::json& frame, const std::string& payload);
    void QueueFrame(const nlohmann::json& frame, const std::string& payload);

    HsdkSocket m_socket;
    // A login was accepted and not logged out: a lost connection is opened again with these.
    bool m_bLoggedIn;
    std::string m_sBroker;
    std::string m_sUser;
    std::string m_sPassword;
    // Kept only when the whole reply was well-formed.
    std::optional<ProcessList> m_processList;
};
