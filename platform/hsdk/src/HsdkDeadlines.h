#pragma once

// How long the SDK waits for the broker, in milliseconds: for each connection attempt, and for
// each step of a request (sending, or the next bytes of a reply). Any byte that moves restarts
// the wait, so a long transfer is never cut while data flows, and a silent broker costs one
// deadline.
class HsdkDeadlines
{
public:
    // HSDK_CONNECT_TIMEOUT_MS / HSDK_REPLY_TIMEOUT_MS from the environment, else ConnectTimeoutMs
    // / ReplyTimeoutMs of section [Connection] in HSDK.ini beside HSDK.dll, else the defaults.
    static HsdkDeadlines Load();

    unsigned long m_nConnectMs;
    unsigned long m_nReplyMs;
};
