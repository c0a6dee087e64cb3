#pragma once
#include <windows.h>
#include <afxwin.h>

// Tells an unreachable broker from a refused login, which the agent reports alike: a short
// TCP connect to the address that the SDK would use.
class CBrokerProbe
{
public:
    // "host" or "host:port"; without a port, HARBROKER_PORT or the SDK's default port.
    explicit CBrokerProbe(LPCSTR lpszBroker);
    ~CBrokerProbe();

    const CString& GetHost() const { return m_sHost; }
    const CString& GetPort() const { return m_sPort; }
    BOOL IsReachable() const;

private:
    CString m_sHost;
    CString m_sPort;
};
