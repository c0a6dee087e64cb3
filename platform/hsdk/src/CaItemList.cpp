#include <windows.h>

#include "CaItemList.h"

#include "HsdkRecords.h"

CaItemList::CaItemList() = default;

CaItemList::CaItemList(const CaItemList& other) = default;

CaItemList::~CaItemList() = default;

CaItemList& CaItemList::operator=(const CaItemList& other) = default;

int CaItemList::GetSize() const
{
    return static_cast<int>(m_items.size());
}

const CaItem& CaItemList::operator[](int index) const
{
    return HsdkRecords::At(m_items, index, "CaItemList");
}

void CaItemList::Add(const CaItem& item)
{
    m_items.push_back(item);
}
