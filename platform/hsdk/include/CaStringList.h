#pragma once

#include <vector>

#include "CaString.h"

class HSDK_API CaStringList
{
public:
    CaStringList();
    CaStringList(const CaStringList& other);
    ~CaStringList();
    CaStringList& operator=(const CaStringList& other);

    void Add(const char* text);
    void RemoveAll();
    int GetSize() const;
    const CaString& operator[](int index) const;

private:
    // Fills its key lists without the record of calls.
    friend class CaContainer;

    std::vector<CaString> m_items;
};
