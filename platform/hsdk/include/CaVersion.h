#pragma once

#include "CaString.h"
#include "CaTimeStamp.h"

class HSDK_API CaVersion
{
public:
    CaVersion();
    CaVersion(const CaVersion& other);
    ~CaVersion();
    CaVersion& operator=(const CaVersion& other);

    unsigned long GetObjId() const;
    CaString GetMappedVersionName() const;
    CaString GetDescription() const;
    CaString GetModifierName() const;
    CaString GetPackageName() const;
    // "N" normal, "R" reserved by a check-out.
    CaString GetVersionStatus() const;
    CaString GetClientMachine() const;
    CaString GetClientPath() const;
    CaTimeStamp GetModifiedTime() const;

private:
    friend class HsdkRecords;
    friend class HsdkScript;

    unsigned long m_nObjId;
    CaString m_sMappedVersionName;
    CaString m_sDescription;
    CaString m_sModifierName;
    CaString m_sPackageName;
    CaString m_sVersionStatus;
    CaString m_sClientMachine;
    CaString m_sClientPath;
    CaTimeStamp m_modifiedTime;
};
