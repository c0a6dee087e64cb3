#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

#include "LoopbackListener.h"

// A loopback proxy in front of the test's broker (HARBROKER_PORT) that a test can cut, as a
// broker restart, a dropped idle session or a broken network would.
class BrokerProxy
{
public:
    BrokerProxy();

    std::string Address() const { return m_listener.Address(); }
    int Connections() const { return m_listener.Accepted(); }
    // Closes every connection now.
    void Cut() { m_listener.CutAll(); }
    // Closes a connection once the broker has sent this many bytes after the next request that
    // holds the given text (any request by default).
    void CutAfter(long long bytes, const std::string& request = "\"op\":");
    // While down, new connections close at once, as if no broker answered.
    void SetDown(bool down) { m_bDown = down; }

private:
    void Forward(LoopbackListener::Socket client);

    std::mutex m_mutex;
    std::string m_sTrigger;
    bool m_bArmed;
    long long m_nBudget;
    std::atomic<bool> m_bDown;
    LoopbackListener m_listener;
};
