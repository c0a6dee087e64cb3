#pragma once

#include "CaContainer.h"
#include "CaContext.h"

// One connection to the broker and its context.
class HSDK_API CaHarvest
{
public:
    CaHarvest();
    virtual ~CaHarvest();
    CaHarvest(const CaHarvest&) = delete;
    CaHarvest& operator=(const CaHarvest&) = delete;

    // broker is "host" or "host:port"; 0 when logged in, non-zero when refused or unreachable.
    int Login(const char* broker, const char* user, const char* password);
    void Logout();
    CaContext& GetContext();
    // Key CA_ATTRKEY_NAME.
    CaContainer GetProjectList();
    CaContainer GetActiveProjectList();
    CaContainer GetInactiveProjectList();

private:
    HsdkSession* m_pSession;
    CaContext* m_pContext;
};
