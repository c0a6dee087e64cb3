#include <windows.h>

#include "CaVersionList.h"

#include "HsdkRecords.h"

CaVersionList::CaVersionList() = default;

CaVersionList::CaVersionList(const CaVersionList& other) = default;

CaVersionList::~CaVersionList() = default;

CaVersionList& CaVersionList::operator=(const CaVersionList& other) = default;

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
    return HsdkRecords::At(m_versions, index, "CaVersionList");
}

void CaVersionList::Add(const CaVersion& version)
{
    m_versions.push_back(version);
}
