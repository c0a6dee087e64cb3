#include <windows.h>

#include "HsdkScript.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkSession.h"

namespace
{
CaData Element(const char* text)
{
    return text ? CaData(text) : CaData();
}
} // namespace

HsdkScript::HsdkScript(const std::string& call, const std::string& argument, int occurrence,
                       bool always)
    : m_nResult(0), m_bWork(false), m_bThrows(false), m_sCall(call), m_sArgument(argument),
      m_nOccurrence(occurrence), m_bAlways(always), m_nSeen(0)
{
}

bool HsdkScript::Counts(const char* call, const std::string& arguments)
{
    if (m_sCall != call || arguments.find(m_sArgument) == std::string::npos)
        return false;
    return ++m_nSeen >= m_nOccurrence;
}

template <> int HsdkScript::As<int>() const
{
    return m_nResult;
}

template <> bool HsdkScript::As<bool>() const
{
    return m_nResult != 0;
}

template <> CaString HsdkScript::As<CaString>() const
{
    return m_sText.c_str();
}

template <> CaContainer HsdkScript::As<CaContainer>() const
{
    return m_rows;
}

template <> CaItemList HsdkScript::As<CaItemList>() const
{
    return m_items;
}

template <> CaVersionList HsdkScript::As<CaVersionList>() const
{
    return m_versions;
}

int HsdkScript::RunProcess(CaCallBack callBack, void* process, void* context,
                           const std::function<int()>& work) const
{
    return HsdkGuard::Returning(static_cast<int>(HsdkSession::processWireFailed),
                                [&]
                                {
                                    int index = 0;
                                    for (CaContainer message : m_messages)
                                    {
                                        if (callBack)
                                            callBack(index++, process, context, &message);
                                    }
                                    if (m_bWork)
                                    {
                                        HsdkCallLog::PassNextCall();
                                        work();
                                    }
                                    return m_nResult;
                                });
}

int HsdkScript::Choose(CaVersionList& versions, CaContainer& list,
                       std::vector<unsigned long>& chosen) const
{
    return HsdkGuard::Throwing(
        [&]
        {
            versions = m_versions;
            list = m_rows;
            chosen = m_chosen;
            return m_nResult;
        });
}

void HsdkScript::SetVersions(const std::vector<hsdk_testing::Version>& versions)
{
    const char* const keys[] = {"CA_ATTRKEY_NAME",
                                "CA_ATTRKEY_VERSION_STATUS",
                                "CA_ATTRKEY_MODIFIER_NAME",
                                "CA_ATTRKEY_CLIENT_MACHINE",
                                "CA_ATTRKEY_CLIENT_PATH",
                                "CA_ATTRKEY_FULL_PATH_NAME",
                                "CA_ATTRKEY_MAPPED_VERSION_NAME"};
    for (const char* key : keys)
        m_rows.AddKey(key);
    for (const hsdk_testing::Version& given : versions)
    {
        const char* const values[] = {given.itemName,      given.status,     given.modifier,
                                      given.clientMachine, given.clientPath, given.fullPath,
                                      given.versionName};
        for (size_t k = 0; k < sizeof(keys) / sizeof(keys[0]); ++k)
            m_rows.AddElement(keys[k], Element(values[k]));

        CaVersion version;
        version.m_nObjId = given.objId;
        version.m_sMappedVersionName = given.versionName;
        version.m_sDescription = given.description;
        version.m_sModifierName = given.modifier;
        version.m_sPackageName = given.package;
        version.m_sVersionStatus = given.status;
        version.m_sClientMachine = given.clientMachine;
        version.m_sClientPath = given.clientPath;
        version.m_modifiedTime = given.modified;
        m_versions.Add(version);
        m_chosen.push_back(given.objId);
    }
}

void HsdkScript::SetItems(const std::vector<hsdk_testing::Item>& items)
{
    for (const hsdk_testing::Item& given : items)
    {
        CaItem item;
        item.m_nObjId = given.objId;
        item.m_sName = given.name;
        item.m_bItemPath = given.isFolder;
        item.m_nRepositoryObjId = given.repositoryObjId;
        m_items.Add(item);
    }
}
