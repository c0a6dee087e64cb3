#include <windows.h>

#include "CaContainer.h"

#include <algorithm>
#include <cstring>

#include "HsdkGuard.h"

namespace
{
template <typename Columns> auto FindColumn(Columns& columns, const char* key)
{
    return std::find_if(columns.begin(), columns.end(),
                        [&](const auto& column)
                        { return std::strcmp(column.first.c_str(), key ? key : "") == 0; });
}
} // namespace

CaContainer::CaContainer() = default;

CaContainer::CaContainer(const CaContainer& other)
    : m_columns(HsdkGuard::Throwing([&] { return other.m_columns; }))
{
}

CaContainer::~CaContainer() = default;

CaContainer& CaContainer::operator=(const CaContainer& other)
{
    HsdkGuard::Throwing([&] { m_columns = other.m_columns; });
    return *this;
}

bool CaContainer::IsEmpty() const
{
    return std::all_of(m_columns.begin(), m_columns.end(),
                       [](const auto& column) { return column.second.empty(); });
}

int CaContainer::GetKeyCount() const
{
    return static_cast<int>(m_columns.size());
}

CaStringList CaContainer::GetKeyList() const
{
    CaStringList keys;
    HsdkGuard::Throwing(
        [&]
        {
            for (const auto& column : m_columns)
                keys.m_items.emplace_back(column.first.c_str());
        });
    return keys;
}

int CaContainer::GetKeyElementCount(const char* key) const
{
    const auto column = FindColumn(m_columns, key);
    return column == m_columns.end() ? 0 : static_cast<int>(column->second.size());
}

CaData CaContainer::Props(const char* key, int row) const
{
    const auto column = FindColumn(m_columns, key);
    if (column == m_columns.end() || row < 0 || row >= static_cast<int>(column->second.size()))
        return CaData();
    return column->second[row];
}

void CaContainer::AddKey(const char* key)
{
    HsdkGuard::Throwing(
        [&]
        {
            if (FindColumn(m_columns, key) == m_columns.end())
                m_columns.emplace_back(key ? key : "", std::vector<CaData>());
        });
}

void CaContainer::AddElement(const char* key, const CaData& element)
{
    AddKey(key);
    HsdkGuard::Throwing([&] { FindColumn(m_columns, key)->second.push_back(element); });
}

void CaContainer::RemoveAll()
{
    m_columns.clear();
}
