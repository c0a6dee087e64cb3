#include <windows.h>

#include "CaStringList.h"

#include "HsdkRecords.h"

CaStringList::CaStringList() = default;

CaStringList::CaStringList(const CaStringList& other) = default;

CaStringList::~CaStringList() = default;

CaStringList& CaStringList::operator=(const CaStringList& other) = default;

void CaStringList::Add(const char* text)
{
    m_items.emplace_back(text);
}

void CaStringList::RemoveAll()
{
    m_items.clear();
}

int CaStringList::GetSize() const
{
    return static_cast<int>(m_items.size());
}

const CaString& CaStringList::operator[](int index) const
{
    return HsdkRecords::At(m_items, index, "CaStringList");
}
