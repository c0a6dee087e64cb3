#pragma once

#include "HsdkApi.h"

// Deletes the caller's own reservations among the chosen versions (an undone check-out).
class HSDK_API CaDeleteVersion
{
public:
    explicit CaDeleteVersion(HsdkSession* session);
    ~CaDeleteVersion();
    CaDeleteVersion(const CaDeleteVersion&) = delete;
    CaDeleteVersion& operator=(const CaDeleteVersion&) = delete;

    int Execute();

private:
    HsdkSession* m_pSession;
};
