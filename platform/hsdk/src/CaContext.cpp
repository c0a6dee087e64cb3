#include <windows.h>

#include "CaContext.h"

#include <algorithm>

#include "HsdkCallLog.h"
#include "HsdkFields.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"
#include "HsdkSession.h"
#include "HsdkText.h"

namespace
{
// Asks the broker whether a context exists; a broken wire counts as a refusal (the caller's
// guard turns its exception into false).
bool Accepts(HsdkSession* session, const nlohmann::json& request)
{
    return HsdkFields::IsOk(session->Read(request));
}

bool Offers(const HsdkSession::ProcessList& processes, const char* kind, const std::string& name)
{
    return std::find(processes.begin(), processes.end(), std::make_pair(name, std::string(kind))) !=
           processes.end();
}

// A refused name also drops the earlier choice, so no process runs under a name the caller
// was told is wrong. The list asked for once serves every later choice; one it lacks is looked
// for in a fresh list, which may have it since.
bool SelectProcess(HsdkSession* session, const char* kind, const char* name)
{
    return HsdkGuard::Returning(false,
                                [&]
                                {
                                    session->m_processes.erase(kind);
                                    const std::string wanted = HsdkText::ToWire(name);
                                    bool offered = session->HasProcessList() &&
                                                   Offers(session->Processes(), kind, wanted);
                                    if (!offered)
                                    {
                                        session->ForgetProcessList();
                                        offered = Offers(session->Processes(), kind, wanted);
                                    }
                                    if (offered)
                                        session->m_processes[kind] = name ? name : "";
                                    return offered;
                                });
}
} // namespace

CaContext::CaContext(HsdkSession* session)
    : m_pSession(session), m_packageChooser(session), m_sql(session), m_versionChooser(session),
      m_checkout(session), m_checkin(session), m_deleteVersion(session), m_renameItem(session),
      m_removeItem(session)
{
    m_pSession->m_pContext = this;
}

CaContext::~CaContext()
{
    m_pSession->m_pContext = nullptr;
}

bool CaContext::SetProject(const char* project)
{
    HSDK_ENTER("CaContext::SetProject", forced_, project);
    return HsdkGuard::Returning(
        false,
        [&]
        {
            if (!Accepts(m_pSession, {{"op", "context"}, {"project", HsdkText::ToWire(project)}}))
                return false;
            m_pSession->m_sProject = project;
            m_pSession->m_sState.clear();
            m_pSession->m_sPackage.clear();
            m_pSession->ForgetProcesses();
            return true;
        });
}

bool CaContext::SetState(const char* state)
{
    HSDK_ENTER("CaContext::SetState", forced_, state);
    return HsdkGuard::Returning(
        false,
        [&]
        {
            if (!Accepts(m_pSession, {{"op", "context"},
                                      {"project", HsdkText::ToWire(m_pSession->m_sProject.c_str())},
                                      {"state", HsdkText::ToWire(state)}}))
                return false;
            m_pSession->m_sState = state;
            m_pSession->m_sPackage.clear();
            m_pSession->ForgetProcesses();
            return true;
        });
}

bool CaContext::SetPackage(const char* package)
{
    HSDK_ENTER("CaContext::SetPackage", forced_, package);
    return HsdkGuard::Returning(false,
                                [&]
                                {
                                    nlohmann::json request = m_pSession->ContextRequest("context");
                                    request["package"] = HsdkText::ToWire(package);
                                    if (!Accepts(m_pSession, request))
                                        return false;
                                    m_pSession->m_sPackage = package;
                                    return true;
                                });
}

CaString CaContext::GetProjectName() const
{
    HSDK_ENTER("CaContext::GetProjectName", forced_);
    return m_pSession->m_sProject.c_str();
}

CaString CaContext::GetStateName() const
{
    HSDK_ENTER("CaContext::GetStateName", forced_);
    return m_pSession->m_sState.c_str();
}

CaString CaContext::GetPackageName() const
{
    HSDK_ENTER("CaContext::GetPackageName", forced_);
    return m_pSession->m_sPackage.c_str();
}

CaContainer CaContext::GetStateList()
{
    HSDK_ENTER("CaContext::GetStateList", forced_);
    return HsdkGuard::Throwing(
        [&]
        {
            return HsdkRecords::Names(m_pSession->Call(
                {{"op", "states"}, {"project", HsdkText::ToWire(m_pSession->m_sProject.c_str())}}));
        });
}

CaPackageChooser& CaContext::GetPackageChooser()
{
    HSDK_RECORD("CaContext::GetPackageChooser");
    return m_packageChooser;
}

CaItemList CaContext::GetItemList(bool withFiles, int option)
{
    HSDK_ENTER("CaContext::GetItemList", forced_, withFiles, option);
    return HsdkGuard::Throwing(
        [&]
        {
            const nlohmann::json reply = m_pSession->Call(
                {{"op", "items"}, {"project", HsdkText::ToWire(m_pSession->m_sProject.c_str())}});
            CaItemList list;
            for (const nlohmann::json& row : HsdkFields::List(reply, "items"))
                list.Add(HsdkRecords::Item(m_pSession, row));
            return list;
        });
}

CaSQL& CaContext::GetSQL()
{
    HSDK_RECORD("CaContext::GetSQL");
    return m_sql;
}

CaVersionChooser& CaContext::GetVersionChooser()
{
    HSDK_RECORD("CaContext::GetVersionChooser");
    return m_versionChooser;
}

bool CaContext::SetCheckout(const char* processName)
{
    HSDK_ENTER("CaContext::SetCheckout", forced_, processName);
    return SelectProcess(m_pSession, "checkout", processName);
}

bool CaContext::SetCheckin(const CaString& processName)
{
    HSDK_ENTER("CaContext::SetCheckin", forced_, static_cast<const char*>(processName));
    return SelectProcess(m_pSession, "checkin", processName);
}

bool CaContext::SetDeleteVersion(const CaString& processName)
{
    HSDK_ENTER("CaContext::SetDeleteVersion", forced_, static_cast<const char*>(processName));
    return SelectProcess(m_pSession, "deleteversion", processName);
}

CaString CaContext::GetDeleteVersionName() const
{
    HSDK_ENTER("CaContext::GetDeleteVersionName", forced_);
    return HsdkGuard::Throwing(
        [&]
        {
            const auto process = m_pSession->m_processes.find("deleteversion");
            return CaString(process == m_pSession->m_processes.end() ? ""
                                                                     : process->second.c_str());
        });
}

bool CaContext::SetRenameItem(const char* processName)
{
    HSDK_ENTER("CaContext::SetRenameItem", forced_, processName);
    return SelectProcess(m_pSession, "renameitem", processName);
}

bool CaContext::SetRemoveItem(const char* processName)
{
    HSDK_ENTER("CaContext::SetRemoveItem", forced_, processName);
    return SelectProcess(m_pSession, "removeitem", processName);
}

CaCheckout& CaContext::GetCheckout()
{
    HSDK_RECORD("CaContext::GetCheckout");
    return m_checkout;
}

CaCheckin& CaContext::GetCheckin()
{
    HSDK_RECORD("CaContext::GetCheckin");
    return m_checkin;
}

CaDeleteVersion& CaContext::GetDeleteVersion()
{
    HSDK_RECORD("CaContext::GetDeleteVersion");
    return m_deleteVersion;
}

CaRenameItem& CaContext::GetRenameItem()
{
    HSDK_RECORD("CaContext::GetRenameItem");
    return m_renameItem;
}

CaRemoveItem& CaContext::GetRemoveItem()
{
    HSDK_RECORD("CaContext::GetRemoveItem");
    return m_removeItem;
}
