#include <windows.h>

#include "CaStringList.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"

CaStringList::CaStringList() = default;

CaStringList::CaStringList(const CaStringList& other)
    : m_items(HsdkGuard::Throwing([&] { return other.m_items; }))
{
}

CaStringList::~CaStringList() = default;

CaStringList& CaStringList::operator=(const CaStringList& other)
{
    HsdkGuard::Throwing([&] { m_items = other.m_items; });
    return *this;
}

void CaStringList::Add(const char* text)
{
    HSDK_ENTER("CaStringList::Add", , text);
    HsdkGuard::Throwing([&] { m_items.emplace_back(text); });
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
    return HsdkRecords::At(m_items, index, "CaStringList: index out of range");
}
