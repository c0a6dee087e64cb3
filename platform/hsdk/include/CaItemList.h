#pragma once

#include <vector>

#include "CaItem.h"

class HSDK_API CaItemList
{
public:
    CaItemList();
    CaItemList(const CaItemList& other);
    ~CaItemList();
    CaItemList& operator=(const CaItemList& other);

    int GetSize() const;
    const CaItem& operator[](int index) const;
    void Add(const CaItem& item);

private:
    std::vector<CaItem> m_items;
};
