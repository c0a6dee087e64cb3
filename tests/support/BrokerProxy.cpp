#include <winsock2.h>
#include <windows.h>
#include "BrokerProxy.h"

#include <algorithm>
#include <cstdlib>

namespace
{
const long long kUnlimited = -1;

SOCKET ConnectToBroker()
{
    const char* port = std::getenv("HARBROKER_PORT");
    const SOCKET broker = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port ? std::atoi(port) : 0));
    if (connect(broker, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        closesocket(broker);
        return INVALID_SOCKET;
    }
    return broker;
}
} // namespace

BrokerProxy::BrokerProxy()
    : m_bArmed(false), m_nBudget(kUnlimited), m_bDown(false),
      m_listener([this](LoopbackListener::Socket client) { Forward(client); })
{
}

void BrokerProxy::CutAfter(long long bytes, const std::string& request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nBudget = bytes;
    m_sTrigger = request;
    m_bArmed = false;
}

void BrokerProxy::Forward(LoopbackListener::Socket client)
{
    if (m_bDown)
        return;
    const SOCKET broker = ConnectToBroker();
    if (broker == INVALID_SOCKET)
        return;
    m_listener.Track(broker);
    char buffer[16384];
    std::vector<bool> ready;
    for (bool open = true; open && m_listener.WaitReadable({client, broker}, ready);)
    {
        if (ready[0])
        {
            const int got = recv(client, buffer, sizeof(buffer), 0);
            open = got > 0 && LoopbackListener::SendAll(broker, std::string(buffer, got));
            std::lock_guard<std::mutex> lock(m_mutex);
            if (open && m_nBudget != kUnlimited &&
                std::string(buffer, got).find(m_sTrigger) != std::string::npos)
                m_bArmed = true;
        }
        if (open && ready[1])
        {
            int got = recv(broker, buffer, sizeof(buffer), 0);
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bArmed)
                got = static_cast<int>(std::min<long long>(got, m_nBudget));
            open = got > 0 && LoopbackListener::SendAll(client, std::string(buffer, got));
            if (m_bArmed && got >= 0)
            {
                m_nBudget -= got;
                // Spent: this connection ends here, the next ones pass in full.
                if (m_nBudget == 0)
                {
                    open = false;
                    m_bArmed = false;
                    m_nBudget = kUnlimited;
                }
            }
        }
    }
    m_listener.Untrack(broker);
    closesocket(broker);
}
