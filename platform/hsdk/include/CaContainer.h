#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CaData.h"
#include "CaStringList.h"

// Named columns of elements, keys in the order they were first added. Reading a missing key or
// row gives a null element.
class HSDK_API CaContainer
{
public:
    CaContainer();
    CaContainer(const CaContainer& other);
    ~CaContainer();
    CaContainer& operator=(const CaContainer& other);

    bool IsEmpty() const;
    int GetKeyCount() const;
    CaStringList GetKeyList() const;
    int GetKeyElementCount(const char* key) const;
    CaData Props(const char* key, int row) const;

    void AddKey(const char* key);
    void AddElement(const char* key, const CaData& element);
    void RemoveAll();

private:
    std::vector<std::pair<std::string, std::vector<CaData>>> m_columns;
};
