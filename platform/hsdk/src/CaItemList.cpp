#include <windows.h>

#include "CaItemList.h"

#include "HsdkGuard.h"
#include "HsdkRecords.h"

CaItemList::CaItemList() = default;

CaItemList::CaItemList(const CaItemList& other)
    : m_items(HsdkGuard::Throwing([&] { return other.m_items; }))
{
}

CaItemList::~CaItemList() = default;

CaItemList& CaItemList::operator=(const CaItemList& other)
{
    HsdkGuard::Throwing([&] { m_items = other.m_items; });
    return *this;
}

int CaItemList::GetSize() const
{
    return static_cast<int>(m_items.size());
}

const CaItem& CaItemList::operator[](int index) const
{
    return HsdkRecords::At(m_items, index, "CaItemList: index out of range");
}

void CaItemList::Add(const CaItem& item)
{
    HsdkGuard::Throwing([&] { m_items.push_back(item); });
}
