#include <windows.h>

#include "CaPackageChooser.h"

#include "HsdkCallLog.h"
#include "HsdkFields.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"
#include "HsdkSession.h"
#include "HsdkText.h"

namespace
{
// "*" matches any run of characters; everything else matches itself. A loop, not a recursion:
// the names come from the broker, and a long one must not exhaust the stack.
bool Matches(const char* pattern, const char* name)
{
    const char* star = nullptr;
    const char* retry = nullptr;
    while (*name)
    {
        if (*pattern == '*')
        {
            star = pattern++;
            retry = name;
        }
        else if (*pattern == *name)
        {
            ++pattern;
            ++name;
        }
        else if (star)
        {
            pattern = star + 1;
            name = ++retry;
        }
        else
        {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return !*pattern;
}
} // namespace

CaPackageChooser::CaPackageChooser(HsdkSession* session)
    : m_pSession(session), m_sPattern("*"), m_nStatus(0)
{
}

CaPackageChooser::~CaPackageChooser() = default;

void CaPackageChooser::SetPackageName(const char* pattern, int option)
{
    HSDK_ENTER("CaPackageChooser::SetPackageName", , pattern, option);
    m_sPattern = pattern;
}

void CaPackageChooser::SetPkgStatus(int status)
{
    HSDK_ENTER("CaPackageChooser::SetPkgStatus", , status);
    m_nStatus = status;
}

int CaPackageChooser::Execute(bool wait)
{
    m_packages = CaContainer();
    HSDK_ENTER("CaPackageChooser::Execute", forced_, wait);
    return HsdkGuard::Throwing(
        [&]
        {
            const nlohmann::json reply = m_pSession->Call(m_pSession->ContextRequest("packages"));
            nlohmann::json names = nlohmann::json::array();
            for (const nlohmann::json& name : HsdkFields::Texts(reply, "names"))
                if (Matches(m_sPattern, HsdkText::FromWire(name.get<std::string>()).c_str()))
                    names.push_back(name);
            m_packages = HsdkRecords::Names({{"names", names}});
            return 0;
        });
}

CaContainer CaPackageChooser::GetPackageList() const
{
    HSDK_ENTER("CaPackageChooser::GetPackageList", forced_);
    return m_packages;
}
