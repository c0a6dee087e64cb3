#include <windows.h>

#include "CaDeleteVersion.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkSession.h"

CaDeleteVersion::CaDeleteVersion(HsdkSession* session) : m_pSession(session) {}

CaDeleteVersion::~CaDeleteVersion() = default;

int CaDeleteVersion::Execute()
{
    HSDK_ENTER("CaDeleteVersion::Execute", forced_);
    return HsdkGuard::Returning(
        static_cast<int>(HsdkSession::processWireFailed),
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("deleteVersion");
            request["versions"] = m_pSession->m_chosenVersions;
            return m_pSession->RunProcess(request, "deleteversion", nullptr, this);
        });
}
