#pragma once

#include <vector>

#include "CaVersion.h"

class HSDK_API CaVersionList
{
public:
    CaVersionList();
    CaVersionList(const CaVersionList& other);
    ~CaVersionList();
    CaVersionList& operator=(const CaVersionList& other);

    bool IsEmpty() const;
    int GetSize() const;
    const CaVersion& operator[](int index) const;
    void Add(const CaVersion& version);

private:
    std::vector<CaVersion> m_versions;
};
