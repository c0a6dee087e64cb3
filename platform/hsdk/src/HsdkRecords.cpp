#include <windows.h>

#include "HsdkRecords.h"

#include <cstdio>

#include "HsdkFields.h"
#include "HsdkText.h"

namespace
{
std::string Text(const nlohmann::json& row, const char* key)
{
    return HsdkText::FromWire(HsdkFields::Text(row, key));
}

CaTimeStamp TimeStamp(const std::string& text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
    return CaTimeStamp(year, month, day, hour, minute, second);
}
} // namespace

CaData HsdkRecords::Element(const nlohmann::json& value)
{
    if (value.is_string())
        return CaData(HsdkText::FromWire(value.get<std::string>()).c_str());
    if (value.is_number_integer())
        return CaData(value.get<long>());
    if (value.is_number() || value.is_boolean())
        return CaData(value.dump().c_str());
    return CaData();
}

CaContainer HsdkRecords::Columns(const nlohmann::json& rows, const std::vector<const char*>& keys)
{
    CaContainer container;
    for (size_t k = 0; k < keys.size(); k += 2)
        container.AddKey(keys[k]);
    for (const nlohmann::json& row : rows)
    {
        for (size_t k = 0; k < keys.size(); k += 2)
        {
            const auto value = row.find(keys[k + 1]);
            container.AddElement(keys[k], value == row.end() ? CaData() : Element(*value));
        }
    }
    return container;
}

CaContainer HsdkRecords::Table(const nlohmann::json& table)
{
    CaContainer container;
    const nlohmann::json& columns = HsdkFields::Texts(table, "columns");
    const auto data = table.find("data");
    if (data != table.end() && !data->is_object())
        throw CaException(false, "The broker sent a malformed reply: \"data\" is not an object.");
    for (const nlohmann::json& column : columns)
    {
        const std::string name = column.get<std::string>();
        const std::string key = HsdkText::FromWire(name);
        container.AddKey(key.c_str());
        if (data == table.end() || !data->contains(name))
            continue;
        for (const nlohmann::json& element : HsdkFields::List(*data, name.c_str()))
            container.AddElement(key.c_str(), Element(element));
    }
    return container;
}

CaContainer HsdkRecords::Names(const nlohmann::json& reply)
{
    CaContainer container;
    container.AddKey("CA_ATTRKEY_NAME");
    for (const nlohmann::json& name : HsdkFields::Texts(reply, "names"))
        container.AddElement("CA_ATTRKEY_NAME", Element(name));
    return container;
}

CaVersion HsdkRecords::Version(const nlohmann::json& row)
{
    CaVersion version;
    version.m_nObjId = static_cast<unsigned long>(HsdkFields::Integer(row, "objid"));
    version.m_sMappedVersionName = Text(row, "version").c_str();
    version.m_sDescription = Text(row, "description").c_str();
    version.m_sModifierName = Text(row, "modifier").c_str();
    version.m_sPackageName = Text(row, "package").c_str();
    version.m_sVersionStatus = Text(row, "status").c_str();
    version.m_sClientMachine = Text(row, "clientMachine").c_str();
    version.m_sClientPath = Text(row, "clientPath").c_str();
    version.m_modifiedTime = TimeStamp(Text(row, "modified"));
    return version;
}

CaItem HsdkRecords::Item(HsdkSession* session, const nlohmann::json& row)
{
    CaItem item;
    item.m_pSession = session;
    item.m_nObjId = static_cast<long>(HsdkFields::Integer(row, "objid"));
    item.m_nRepositoryObjId = static_cast<long>(HsdkFields::Integer(row, "repositobjid", 0));
    item.m_bItemPath = HsdkFields::Flag(row, "isPath", false);
    item.m_sName = Text(row, "name").c_str();
    item.m_sViewPath = Text(row, "path").c_str();
    return item;
}
