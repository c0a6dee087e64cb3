#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>

#include "BrokerProbe.h"

#include <cstdlib>

namespace
{
// The port HSDK.dll connects to when neither the broker name nor the environment gives one.
const char sdkDefaultPort[] = "7701";
const long connectTimeoutSeconds = 3;
} // namespace

CBrokerProbe::CBrokerProbe(LPCSTR lpszBroker) : m_sHost(lpszBroker)
{
    int colon = m_sHost.ReverseFind(':');
    if (colon >= 0)
    {
        m_sPort = m_sHost.Mid(colon + 1);
        m_sHost = m_sHost.Left(colon);
        return;
    }
    const char* port = std::getenv("HARBROKER_PORT");
    m_sPort = port != NULL && *port != '\0' ? port : sdkDefaultPort;
}

CBrokerProbe::~CBrokerProbe() {}

BOOL CBrokerProbe::IsReachable() const
{
    WSADATA wsa;
    if (::WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return FALSE;
    BOOL reachable = FALSE;
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = NULL;
    if (::getaddrinfo(m_sHost, m_sPort, &hints, &addresses) == 0)
    {
        for (addrinfo* address = addresses; address != NULL && !reachable;
             address = address->ai_next)
        {
            SOCKET s = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
            if (s == INVALID_SOCKET)
                continue;
            u_long nonBlocking = 1;
            ::ioctlsocket(s, FIONBIO, &nonBlocking);
            ::connect(s, address->ai_addr, static_cast<int>(address->ai_addrlen));
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            timeval timeout = {connectTimeoutSeconds, 0};
            reachable = ::select(0, NULL, &writable, &failed, &timeout) > 0 &&
                        FD_ISSET(s, &writable) && !FD_ISSET(s, &failed);
            ::closesocket(s);
        }
        ::freeaddrinfo(addresses);
    }
    ::WSACleanup();
    return reachable;
}
