#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "CaContainer.h"
#include "CaException.h"
#include "CaItemList.h"
#include "CaVersionList.h"

// Turns the broker's JSON rows into SDK records (texts converted to the ANSI code page).
class HsdkRecords
{
public:
    template <typename T>
    static const T& At(const std::vector<T>& items, int index, const char* list)
    {
        if (index < 0 || index >= static_cast<int>(items.size()))
            throw CaException(false, (std::string(list) + ": index out of range").c_str());
        return items[index];
    }

    static CaData Element(const nlohmann::json& value);
    // Rows of objects become columns; keys pairs a container key with its field, and an absent
    // field is a null element.
    static CaContainer Columns(const nlohmann::json& rows, const std::vector<const char*>& keys);
    // An SQL result: {"columns":[...],"data":{column:[elements]}}.
    static CaContainer Table(const nlohmann::json& table);
    static CaContainer Names(const nlohmann::json& names);
    static CaVersion Version(const nlohmann::json& row);
    static CaItem Item(HsdkSession* session, const nlohmann::json& row);
};
