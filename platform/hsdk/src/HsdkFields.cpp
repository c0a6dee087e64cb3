#include <windows.h>

#include "HsdkFields.h"

#include <cstdio>

#include "CaException.h"

const nlohmann::json& HsdkFields::List(const nlohmann::json& frame, const char* key)
{
    const nlohmann::json* value = Find(frame, key);
    if (!value || !value->is_array())
        Malformed(key, "a list");
    return *value;
}

std::string HsdkFields::Text(const nlohmann::json& frame, const char* key)
{
    const nlohmann::json* value = Find(frame, key);
    if (!value || value->is_null())
        return std::string();
    if (!value->is_string())
        Malformed(key, "a text");
    return value->get<std::string>();
}

long long HsdkFields::Integer(const nlohmann::json& frame, const char* key)
{
    const nlohmann::json* value = Find(frame, key);
    if (!value || !value->is_number_integer())
        Malformed(key, "an integer");
    return value->get<long long>();
}

long long HsdkFields::Integer(const nlohmann::json& frame, const char* key, long long absent)
{
    return Find(frame, key) ? Integer(frame, key) : absent;
}

bool HsdkFields::Flag(const nlohmann::json& frame, const char* key, bool absent)
{
    const nlohmann::json* value = Find(frame, key);
    if (!value)
        return absent;
    if (!value->is_boolean())
        Malformed(key, "true or false");
    return value->get<bool>();
}

bool HsdkFields::IsOk(const nlohmann::json& reply)
{
    return Flag(reply, "ok", false);
}

const nlohmann::json& HsdkFields::Texts(const nlohmann::json& frame, const char* key)
{
    const nlohmann::json& list = List(frame, key);
    for (const nlohmann::json& element : list)
        if (!element.is_string())
            Malformed(key, "a list of texts");
    return list;
}

const nlohmann::json* HsdkFields::Find(const nlohmann::json& frame, const char* key)
{
    if (!frame.is_object())
        Malformed(key, nullptr);
    const auto value = frame.find(key);
    return value == frame.end() ? nullptr : &*value;
}

void HsdkFields::Malformed(const char* key, const char* expected)
{
    char text[200];
    if (expected)
        std::snprintf(text, sizeof(text), "The broker sent a malformed reply: \"%s\" is not %s.",
                      key, expected);
    else
        std::snprintf(text, sizeof(text),
                      "The broker sent a malformed reply: a record with \"%s\" is not an object.",
                      key);
    throw CaException(false, text);
}
