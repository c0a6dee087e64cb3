#include <windows.h>

#include "HsdkSession.h"

#include <cstdlib>

#include "CaContainer.h"
#include "CaException.h"
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

bool Exchange(HsdkSocket& socket, const nlohmann::json& frame, const std::string& payload,
              nlohmann::json& reply, std::string& replyPayload)
{
    std::string text;
    if (!socket.Send(frame.dump(), payload) || !socket.Receive(text, replyPayload))
        return false;
    reply = nlohmann::json::parse(text, nullptr, false);
    return reply.is_object();
}
} // namespace

HsdkSession::HsdkSession() : m_pContext(nullptr) {}

HsdkSession::~HsdkSession()
{
    Logout();
}

int HsdkSession::Login(const char* broker, const char* user, const char* password)
{
    Logout();
    std::string host, port;
    SplitBroker(broker ? broker : "", host, port);
    if (!m_socket.Connect(host, port))
        return loginUnreachable;
    const nlohmann::json request = {{"op", "login"},
                                    {"user", HsdkText::ToWire(user)},
                                    {"password", HsdkText::ToWire(password)},
                                    {"machine", HsdkText::ToWire(ComputerName().c_str())}};
    nlohmann::json reply;
    std::string payload;
    if (!Exchange(m_socket, request, std::string(), reply, payload))
        return loginUnreachable;
    if (reply.value("ok", false))
        return loginOk;
    m_socket.Close();
    return loginRefused;
}

void HsdkSession::Logout()
{
    if (m_socket.IsOpen())
    {
        nlohmann::json reply;
        std::string payload;
        Exchange(m_socket, {{"op", "logout"}}, std::string(), reply, payload);
        m_socket.Close();
    }
    m_sProject.clear();
    m_sState.clear();
    m_sPackage.clear();
    m_processes.clear();
    m_chosenVersions.clear();
}

nlohmann::json HsdkSession::Request(const nlohmann::json& request, const HsdkEvents& events,
                                    const std::string& payload)
{
    if (!m_socket.IsOpen())
        throw CaException(false, "Not connected to the broker.");
    if (!m_socket.Send(request.dump(), payload))
        throw CaException(false, "The connection to the broker failed.");
    std::string text, bytes;
    for (;;)
    {
        if (!m_socket.Receive(text, bytes))
            throw CaException(false, "The connection to the broker failed.");
        const nlohmann::json frame = nlohmann::json::parse(text, nullptr, false);
        if (!frame.is_object())
        {
            m_socket.Close();
            throw CaException(false, "The broker sent a malformed frame.");
        }
        const std::string event = frame.value("event", "");
        if (event.empty())
            return frame;
        if (event == "message" && events.onMessage)
        {
            events.onMessage(frame);
        }
        else if (event == "file")
        {
            const nlohmann::json done = events.onFile
                                            ? events.onFile(frame, bytes)
                                            : nlohmann::json{{"op", "fileDone"},
                                                             {"written", false},
                                                             {"reason", "failed"},
                                                             {"error", "not a check-out"}};
            if (!m_socket.Send(done.dump(), std::string()))
                throw CaException(false, "The connection to the broker failed.");
        }
        else if (event == "send")
        {
            std::string fileBytes;
            const nlohmann::json file = events.onSend
                                            ? events.onSend(frame, fileBytes)
                                            : nlohmann::json{{"op", "file"},
                                                             {"index", frame.value("index", 0)},
                                                             {"exists", false},
                                                             {"error", "not a check-in"}};
            if (!m_socket.Send(file.dump(), fileBytes))
                throw CaException(false, "The connection to the broker failed.");
        }
    }
}

nlohmann::json HsdkSession::Call(const nlohmann::json& request)
{
    nlohmann::json reply = Request(request);
    if (!reply.value("ok", false))
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
        if (!callBack)
            return;
        CaContainer container;
        container.AddElement("_HEM_MsgKey", HsdkRecords::Element(message.value("key", "")));
        container.AddKey("_HEM_MsgArg");
        for (const nlohmann::json& argument : message.value("args", nlohmann::json::array()))
            container.AddElement("_HEM_MsgArg", HsdkRecords::Element(argument));
        callBack(index++, process, m_pContext, &container);
    };
    try
    {
        const nlohmann::json reply = Request(request, events);
        return reply.value("ok", false) ? reply.value("result", 1) : 1;
    }
    catch (const CaException&)
    {
        return -1;
    }
}

nlohmann::json HsdkSession::ContextRequest(const char* op) const
{
    return {{"op", op},
            {"project", HsdkText::ToWire(m_sProject.c_str())},
            {"state", HsdkText::ToWire(m_sState.c_str())},
            {"package", HsdkText::ToWire(m_sPackage.c_str())}};
}

std::string HsdkSession::ErrorText(const nlohmann::json& reply)
{
    const auto error = reply.find("error");
    return HsdkText::FromWire(error != reply.end() && error->is_string() ? error->get<std::string>()
                                                                         : "The broker refused.");
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
        return HsdkText::FromWire(session.Request(request, HsdkEvents(), payload).dump());
    }
    catch (const CaException& e)
    {
        return nlohmann::json{{"ok", false}, {"error", HsdkText::ToWire(e.GetText())}}.dump();
    }
}
