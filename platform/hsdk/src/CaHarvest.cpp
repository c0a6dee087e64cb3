#include <windows.h>

#include "CaHarvest.h"

#include <memory>

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"
#include "HsdkSession.h"

namespace
{
const int kAllProjects = 0;
const int kActiveProjects = 1;
const int kInactiveProjects = 2;

CaContainer ProjectList(HsdkSession* session, int kind)
{
    return HsdkGuard::Throwing(
        [&] {
            return HsdkRecords::Names(session->Call({{"op", "projects"}, {"kind", kind}}));
        });
}
} // namespace

CaHarvest::CaHarvest() : m_pSession(nullptr), m_pContext(nullptr)
{
    HSDK_RECORD("CaHarvest::CaHarvest");
    HsdkGuard::Throwing(
        [&]
        {
            std::unique_ptr<HsdkSession> session(new HsdkSession);
            m_pContext = new CaContext(session.get());
            m_pSession = session.release();
        });
}

CaHarvest::~CaHarvest()
{
    HsdkCallLog::Record("CaHarvest::~CaHarvest");
    delete m_pContext;
    delete m_pSession;
}

int CaHarvest::Login(const char* broker, const char* user, const char* password)
{
    HSDK_ENTER("CaHarvest::Login", forced_, broker, user, HsdkCallLog::Masked(password));
    return HsdkGuard::Returning(static_cast<int>(HsdkSession::loginUnreachable),
                                [&] { return m_pSession->Login(broker, user, password); });
}

void CaHarvest::Logout()
{
    HSDK_ENTER("CaHarvest::Logout", );
    m_pSession->Logout();
}

CaContext& CaHarvest::GetContext()
{
    HSDK_RECORD("CaHarvest::GetContext");
    return *m_pContext;
}

CaContainer CaHarvest::GetProjectList()
{
    HSDK_ENTER("CaHarvest::GetProjectList", forced_);
    return ProjectList(m_pSession, kAllProjects);
}

CaContainer CaHarvest::GetActiveProjectList()
{
    HSDK_ENTER("CaHarvest::GetActiveProjectList", forced_);
    return ProjectList(m_pSession, kActiveProjects);
}

CaContainer CaHarvest::GetInactiveProjectList()
{
    HSDK_ENTER("CaHarvest::GetInactiveProjectList", forced_);
    return ProjectList(m_pSession, kInactiveProjects);
}
