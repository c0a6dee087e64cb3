#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "CaContainer.h"
#include "CaException.h"
#include "CaItemList.h"
#include "CaVersionList.h"

// Turns the broker's JSON rows into SDK records (texts converted to the ANSI code page). A row
// of the wrong shape throws CaException naming the field.
class HsdkRecords
{
public:
    template <typename T>
    static const T& At(const std::vector<T>& items, int index, const char* outOfRange)
    {
        if (index < 0 || index >= static_cast<int>(items.size()))
            throw CaException(false, outOfRange);
        return items[index];
    }

    static CaData Element(const nlohmann::json& value);
    // The rows of a reply's list become columns; keys pairs a container key with its field, and
    // an absent field is a null element.
    static CaContainer Columns(const nlohmann::json& rows, const std::vector<const char*>& keys);
    // An SQL result: {"columns":[...],"data":{column:[elements]}}.
    static CaContainer Table(const nlohmann::json& table);
    // A reply's list of names.
    static CaContainer Names(const nlohmann::json& reply);
    static CaVersion Version(const nlohmann::json& row);
    static CaItem Item(HsdkSession* session, const nlohmann::json& row);
};
