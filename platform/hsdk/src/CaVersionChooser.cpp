#include <windows.h>

#include "CaVersionChooser.h"

#include "HsdkCallLog.h"
#include "HsdkFields.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"
#include "HsdkSession.h"
#include "HsdkText.h"

namespace
{
const int kDefaultBranchOption = 0x111;
const int kDefaultVersionOption = 0x100;
const int kEveryStatus = 0x11111;
} // namespace

CaVersionChooser::CaVersionChooser(HsdkSession* session)
    : m_pSession(session), m_bRecursive(false), m_nBranchOption(kDefaultBranchOption),
      m_nVersionOption(kDefaultVersionOption), m_nVersionStatusOption(kEveryStatus),
      m_nVersionObjId(0)
{
}

CaVersionChooser::~CaVersionChooser() = default;

void CaVersionChooser::Clear()
{
    HSDK_ENTER("CaVersionChooser::Clear", );
    m_sParentPath = "";
    m_sItemName = "";
    m_bRecursive = false;
    m_nVersionStatusOption = kEveryStatus;
    m_nVersionObjId = 0;
}

void CaVersionChooser::SetParentPath(const char* viewPath)
{
    HSDK_ENTER("CaVersionChooser::SetParentPath", , viewPath);
    m_sParentPath = viewPath;
}

void CaVersionChooser::SetItemName(const char* itemName)
{
    HSDK_ENTER("CaVersionChooser::SetItemName", , itemName);
    m_sItemName = itemName;
}

void CaVersionChooser::SetRecursive(bool recursive)
{
    HSDK_ENTER("CaVersionChooser::SetRecursive", , recursive);
    m_bRecursive = recursive;
}

void CaVersionChooser::SetBranchOption(int option)
{
    HSDK_ENTER("CaVersionChooser::SetBranchOption", , option);
    m_nBranchOption = option;
}

void CaVersionChooser::SetVersionOption(int option)
{
    HSDK_ENTER("CaVersionChooser::SetVersionOption", , option);
    m_nVersionOption = option;
}

void CaVersionChooser::SetVersionStatusOption(int option)
{
    HSDK_ENTER("CaVersionChooser::SetVersionStatusOption", , option);
    m_nVersionStatusOption = option;
}

void CaVersionChooser::SetVersionObjId(unsigned long objId, int option)
{
    HSDK_ENTER("CaVersionChooser::SetVersionObjId", , objId, option);
    m_nVersionObjId = objId;
}

int CaVersionChooser::Execute()
{
    // A failed choice leaves nothing chosen, so no process acts on an earlier selection.
    m_versions = CaVersionList();
    m_versionList = CaContainer();
    m_pSession->m_chosenVersions.clear();
    HSDK_ENTER_SCRIPTED(script, "CaVersionChooser::Execute");
    if (script)
        return script->Choose(m_versions, m_versionList, m_pSession->m_chosenVersions);

    return HsdkGuard::Throwing(
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("chooseVersions");
            request["parentPath"] = HsdkText::ToWire(m_sParentPath);
            request["itemName"] = HsdkText::ToWire(m_sItemName);
            request["recursive"] = m_bRecursive;
            request["versionObjId"] = m_nVersionObjId;
            request["versionOption"] = m_nVersionOption;
            request["branchOption"] = m_nBranchOption;
            request["statusOption"] = m_nVersionStatusOption;
            const nlohmann::json reply = m_pSession->Call(request);
            const nlohmann::json& rows = HsdkFields::List(reply, "versions");

            // Built aside, so that a malformed row leaves nothing chosen.
            CaVersionList versions;
            std::vector<unsigned long> chosen;
            for (const nlohmann::json& row : rows)
            {
                const CaVersion version = HsdkRecords::Version(row);
                versions.Add(version);
                chosen.push_back(version.GetObjId());
            }
            m_versionList = HsdkRecords::Columns(
                rows, {"CA_ATTRKEY_NAME", "name", "CA_ATTRKEY_VERSION_STATUS", "status",
                       "CA_ATTRKEY_MODIFIER_NAME", "modifier", "CA_ATTRKEY_CLIENT_MACHINE",
                       "clientMachine", "CA_ATTRKEY_CLIENT_PATH", "clientPath",
                       "CA_ATTRKEY_FULL_PATH_NAME", "fullPath", "CA_ATTRKEY_MAPPED_VERSION_NAME",
                       "version"});
            m_versions = versions;
            m_pSession->m_chosenVersions.swap(chosen);
            return 0;
        });
}

CaContainer CaVersionChooser::GetVersionList() const
{
    HSDK_ENTER("CaVersionChooser::GetVersionList", forced_);
    return m_versionList;
}

CaVersionList CaVersionChooser::GetVersionListAsList() const
{
    HSDK_ENTER("CaVersionChooser::GetVersionListAsList", forced_);
    return m_versions;
}
