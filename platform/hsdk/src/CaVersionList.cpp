#include <windows.h>

#include "CaVersionList.h"

#include "HsdkGuard.h"
#include "HsdkRecords.h"

CaVersionList::CaVersionList() = default;

CaVersionList::CaVersionList(const CaVersionList& other)
    : m_versions(HsdkGuard::Throwing([&] { return other.m_versions; }))
{
}

CaVersionList::~CaVersionList() = default;

CaVersionList& CaVersionList::operator=(const CaVersionList& other)
{
    HsdkGuard::Throwing([&] { m_versions = other.m_versions; });
    return *this;
}

bool CaVersionList::IsEmpty() const
{
    return m_versions.empty();
}

int CaVersionList::GetSize() const
{
    return static_cast<int>(m_versions.size());
}

const CaVersion& CaVersionList::operator[](int index) const
{
    return HsdkRecords::At(m_versions, index, "CaVersionList: index out of range");
}

void CaVersionList::Add(const CaVersion& version)
{
    HsdkGuard::Throwing([&] { m_versions.push_back(version); });
}
