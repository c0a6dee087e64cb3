#include "RequestFields.h"

#include "BrokerError.h"

namespace
{

[[noreturn]] void wrongType(const char* name, const char* expected)
{
    throw BrokerError("protocol", std::string("field \"") + name + "\" must be " + expected);
}

} // namespace

const nlohmann::json* RequestFields::find(const char* name) const
{
    const auto it = m_header.find(name);
    return it == m_header.end() || it->is_null() ? nullptr : &*it;
}

std::string RequestFields::text(const char* name) const
{
    const auto value = optionalText(name);
    if (!value)
        wrongType(name, "a string");
    return *value;
}

std::string RequestFields::text(const char* name, const std::string& fallback) const
{
    return optionalText(name).value_or(fallback);
}

std::optional<std::string> RequestFields::optionalText(const char* name) const
{
    const nlohmann::json* value = find(name);
    if (!value)
        return std::nullopt;
    if (!value->is_string())
        wrongType(name, "a string");
    return value->get<std::string>();
}

std::int64_t RequestFields::integer(const char* name) const
{
    const auto value = optionalInteger(name);
    if (!value)
        wrongType(name, "an integer");
    return *value;
}

std::int64_t RequestFields::integer(const char* name, std::int64_t fallback) const
{
    return optionalInteger(name).value_or(fallback);
}

std::optional<std::int64_t> RequestFields::optionalInteger(const char* name) const
{
    const nlohmann::json* value = find(name);
    if (!value)
        return std::nullopt;
    if (!value->is_number_integer())
        wrongType(name, "an integer");
    const std::int64_t number =
        value->is_number_unsigned() && value->get<std::uint64_t>() > INT64_MAX
            ? INT64_MAX
            : value->get<std::int64_t>();
    if (number < INT32_MIN || number > UINT32_MAX)
        wrongType(name, "a 32-bit integer");
    return number;
}

bool RequestFields::flag(const char* name, bool fallback) const
{
    const nlohmann::json* value = find(name);
    if (!value)
        return fallback;
    if (!value->is_boolean())
        wrongType(name, "true or false");
    return value->get<bool>();
}

std::vector<std::string> RequestFields::texts(const char* name) const
{
    const nlohmann::json* value = find(name);
    std::vector<std::string> list;
    if (!value)
        return list;
    if (!value->is_array())
        wrongType(name, "an array of strings");
    for (const auto& element : *value)
    {
        if (!element.is_string())
            wrongType(name, "an array of strings");
        list.push_back(element.get<std::string>());
    }
    return list;
}

std::vector<std::int64_t> RequestFields::integers(const char* name) const
{
    const nlohmann::json* value = find(name);
    std::vector<std::int64_t> list;
    if (!value)
        return list;
    if (!value->is_array())
        wrongType(name, "an array of integers");
    for (const auto& element : *value)
    {
        if (!element.is_number_integer())
            wrongType(name, "an array of integers");
        list.push_back(element.get<std::int64_t>());
    }
    return list;
}
