#include <windows.h>

#include "HsdkSession.h"

#include <cstdlib>

#include "CaContainer.h"
#include "CaException.h"
#include "HsdkFields.h"
#include "HsdkRecords.h"
#include "HsdkText.h"

namespace
{
const char* kDefaultPort = "7701";
const char* kAdminUser = "harvest";
const char* kAdminPassword = "harvest";

std::string DefaultPort()
{
    const char* port = std::getenv("HARBROKER_PORT");
    return port && *port ? port : kDefaultPort;
}

// "host" or "host:port"; a bracketed IPv6 literal may carry a port too.
void SplitBroker(const std::string& broker, std::string& host, std::string& port)
{
    host = broker;
    port = DefaultPort();
    if (!broker.empty() && broker[0] == '[')
    {
        const size_t close = broker.find(']');
        host = broker.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        if (close != std::string::npos && close + 1 < broker.size() && broker[close + 1] == ':')
            port = broker.substr(close + 2);
        return;
    }
    const size_t colon = broker.find(':');
    if (colon != std::string::npos && broker.find(':', colon + 1) == std::string::npos)
    {
        host = broker.substr(0, colon);
        port = broker.substr(colon + 1);
    }
}

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof(name);
    GetComputerNameA(name, &size);
    return name;
}

// Closes the connection unless the exchange reached its reply: frames of an abandoned request
// must never be read as the reply to the next one.
class AbandonGuard
{
public:
    explicit AbandonGuard(HsdkSocket& socket) : m_socket(socket), m_bDone(false) {}
    ~AbandonGuard()
    {
        if (!m_bDone)
            m_socket.Close();
    }
    void Done() { m_bDone = true; }

private:
    HsdkSocket& m_socket;
    bool m_bDone;
};
} // namespace

HsdkSession::HsdkSession() : m_pContext(nullptr), m_bLoggedIn(false) {}

HsdkSession::~HsdkSession()
{
    Logout();
}

int HsdkSession::Login(const char* broker, const char* user, const char* password)
{
    Logout();
    const std::string name = broker ? broker : "";
    const int result = Open(name, user ? user : "", password ? password : "");
    if (result == loginOk)
    {
        m_bLoggedIn = true;
        m_sBroker = name;
        m_sUser = user ? user : "";
        m_sPassword = password ? password : "";
    }
    return result;
}

void HsdkSession::Logout()
{
    if (m_socket.IsOpen())
    {
        try
        {
            SendFrame({{"op", "logout"}}, std::string());
        }
        catch (...)
        {
            // Logged out either way: the connection closes below.
        }
        m_socket.Close();
    }
    m_bLoggedIn = false;
    m_sPassword.clear();
    m_sProject.clear();
    m_sState.clear();
    m_sPackage.clear();
    ForgetProcesses();
    m_chosenVersions.clear();
}

nlohmann::json HsdkSession::Read(const nlohmann::json& request)
{
    Reopen();
    try
    {
        return Exchange(request, HsdkEvents(), std::string());
    }
    catch (const CaException&)
    {
        // A deadline or a malformed frame would only come again.
        if (m_socket.LastFailure() != HsdkSocket::failLost)
            throw;
    }
    Reopen();
    return Exchange(request, HsdkEvents(), std::string());
}

nlohmann::json HsdkSession::Call(const nlohmann::json& request)
{
    nlohmann::json reply = Read(request);
    if (!HsdkFields::IsOk(reply))
        throw CaException(false, ErrorText(reply).c_str());
    return reply;
}

int HsdkSession::RunProcess(nlohmann::json request, const char* kind, CaCallBack callBack,
                            void* process, HsdkEvents events)
{
    request["process"] = HsdkText::ToWire(m_processes[kind].c_str());
    int index = 0;
    events.onMessage = [&](const nlohmann::json& message)
    {
        CaContainer container;
        container.AddElement("_HEM_MsgKey",
                             CaData(HsdkText::FromWire(HsdkFields::Text(message, "key")).c_str()));
        container.AddKey("_HEM_MsgArg");
        for (const nlohmann::json& argument : HsdkFields::List(message, "args"))
            container.AddElement("_HEM_MsgArg", HsdkRecords::Element(argument));
        if (callBack)
            callBack(index++, process, m_pContext, &container);
    };
    Reopen();
    const nlohmann::json reply = Exchange(request, events, std::string());
    return HsdkFields::IsOk(reply) ? static_cast<int>(HsdkFields::Integer(reply, "result")) : 1;
}

nlohmann::json HsdkSession::ContextRequest(const char* op) const
{
    return {{"op", op},
            {"project", HsdkText::ToWire(m_sProject.c_str())},
            {"state", HsdkText::ToWire(m_sState.c_str())},
            {"package", HsdkText::ToWire(m_sPackage.c_str())}};
}

const HsdkSession::ProcessList& HsdkSession::Processes()
{
    // A lost connection is noticed here, not at the next request: a new one forgets the list.
    Reopen();
    if (!m_processList)
    {
        const nlohmann::json reply = Read(ContextRequest("processes"));
        if (!HsdkFields::IsOk(reply))
            throw CaException(false, ErrorText(reply).c_str());
        ProcessList processes;
        for (const nlohmann::json& process : HsdkFields::List(reply, "processes"))
            processes.emplace_back(HsdkFields::Text(process, "name"),
                                   HsdkFields::Text(process, "kind"));
        m_processList = std::move(processes);
    }
    return *m_processList;
}

void HsdkSession::ForgetProcesses()
{
    m_processes.clear();
    ForgetProcessList();
}

std::string HsdkSession::ErrorText(const nlohmann::json& reply)
{
    const std::string error = HsdkFields::Text(reply, "error");
    return HsdkText::FromWire(error.empty() ? "The broker refused." : error);
}

std::string HsdkSession::Admin(const char* requestJson, const std::string& payload)
{
    const nlohmann::json request =
        nlohmann::json::parse(HsdkText::ToWire(requestJson), nullptr, false);
    if (!request.is_object())
        return R"({"ok":false,"error":"the request is not a JSON object"})";
    HsdkSession session;
    if (session.Login(("127.0.0.1:" + DefaultPort()).c_str(), kAdminUser, kAdminPassword) !=
        loginOk)
        return R"({"ok":false,"error":"cannot log in to the broker"})";
    try
    {
        return HsdkText::FromWire(session.Exchange(request, HsdkEvents(), payload).dump());
    }
    catch (const CaException& e)
    {
        return nlohmann::json{{"ok", false}, {"error", HsdkText::ToWire(e.GetText())}}.dump();
    }
}

int HsdkSession::Open(const std::string& broker, const std::string& user,
                      const std::string& password)
{
    std::string host, port;
    SplitBroker(broker, host, port);
    if (!m_socket.Connect(host, port, HsdkDeadlines::Load()))
        return loginUnreachable;
    const nlohmann::json request = {{"op", "login"},
                                    {"user", HsdkText::ToWire(user.c_str())},
                                    {"password", HsdkText::ToWire(password.c_str())},
                                    {"machine", HsdkText::ToWire(ComputerName().c_str())}};
    // A new connection may meet processes deleted or added meanwhile.
    ForgetProcessList();
    try
    {
        if (HsdkFields::IsOk(Exchange(request, HsdkEvents(), std::string())))
            return loginOk;
    }
    catch (const CaException&)
    {
        m_socket.Close();
        return loginUnreachable;
    }
    m_socket.Close();
    return loginRefused;
}

void HsdkSession::Reopen()
{
    if (m_socket.IsOpen() && !m_socket.IsStale())
        return;
    if (!m_bLoggedIn)
        throw CaException(false, "Not connected to the broker.");
    switch (Open(m_sBroker, m_sUser, m_sPassword))
    {
    case loginOk:
        return;
    case loginRefused:
        // Every later call would try again, and the broker locks a name that fails too often.
        m_bLoggedIn = false;
        m_sPassword.clear();
        throw CaException(false, "The connection to the broker was lost, and the broker refused "
                                 "to log in again.");
    default:
        throw CaException(false, "The connection to the broker was lost, and the broker does not "
                                 "answer.");
    }
}

nlohmann::json HsdkSession::Exchange(const nlohmann::json& request, const HsdkEvents& events,
                                     const std::string& payload)
{
    AbandonGuard guard(m_socket);
    SendFrame(request, payload);
    std::string bytes;
    for (;;)
    {
        nlohmann::json frame = ReceiveFrame(bytes);
        const std::string event = HsdkFields::Text(frame, "event");
        if (event.empty())
        {
            // The broker replies after every answer it waits for; any left belong to nobody.
            m_socket.DropQueued();
            guard.Done();
            return frame;
        }
        if (event == "message" && events.onMessage)
        {
            events.onMessage(frame);
        }
        else if (event == "file")
        {
            QueueFrame(events.onFile ? events.onFile(frame, bytes)
                                     : nlohmann::json{{"op", "fileDone"},
                                                      {"written", false},
                                                      {"reason", "failed"},
                                                      {"error", "not a check-out"}},
                       std::string());
        }
        else if (event == "send")
        {
            std::string fileBytes;
            QueueFrame(events.onSend
                           ? events.onSend(frame, fileBytes)
                           : nlohmann::json{{"op", "file"},
                                            {"index", HsdkFields::Integer(frame, "index")},
                                            {"exists", false},
                                            {"error", "not a check-in"}},
                       fileBytes);
        }
    }
}

nlohmann::json HsdkSession::ReceiveFrame(std::string& payload)
{
    std::string text;
    if (!m_socket.Receive(text, payload))
        throw CaException(false, m_socket.FailureText().c_str());
    nlohmann::json frame = nlohmann::json::parse(text, nullptr, false);
    if (!frame.is_object())
        throw CaException(false, "The broker sent a frame that is not a JSON object.");
    return frame;
}

void HsdkSession::SendFrame(const nlohmann::json& frame, const std::string& payload)
{
    if (!m_socket.Send(frame.dump(), payload))
        throw CaException(false, m_socket.FailureText().c_str());
}

void HsdkSession::QueueFrame(const nlohmann::json& frame, const std::string& payload)
{
    if (!m_socket.Queue(frame.dump(), payload))
        throw CaException(false, m_socket.FailureText().c_str());
}
