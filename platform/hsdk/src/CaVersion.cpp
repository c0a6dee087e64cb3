#include <windows.h>

#include "CaVersion.h"

CaVersion::CaVersion() : m_nObjId(0) {}

CaVersion::CaVersion(const CaVersion& other) = default;

CaVersion::~CaVersion() = default;

CaVersion& CaVersion::operator=(const CaVersion& other) = default;

unsigned long CaVersion::GetObjId() const
{
    return m_nObjId;
}

CaString CaVersion::GetMappedVersionName() const
{
    return m_sMappedVersionName;
}

CaString CaVersion::GetDescription() const
{
    return m_sDescription;
}

CaString CaVersion::GetModifierName() const
{
    return m_sModifierName;
}

CaString CaVersion::GetPackageName() const
{
    return m_sPackageName;
}

CaString CaVersion::GetVersionStatus() const
{
    return m_sVersionStatus;
}

CaString CaVersion::GetClientMachine() const
{
    return m_sClientMachine;
}

CaString CaVersion::GetClientPath() const
{
    return m_sClientPath;
}

CaTimeStamp CaVersion::GetModifiedTime() const
{
    return m_modifiedTime;
}
