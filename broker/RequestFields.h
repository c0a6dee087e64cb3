#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Typed access to a request header; a missing or mistyped field is a protocol error.
class RequestFields
{
public:
    explicit RequestFields(const nlohmann::json& header) : m_header(header) {}

    std::string text(const char* name) const;
    std::string text(const char* name, const std::string& fallback) const;
    std::optional<std::string> optionalText(const char* name) const;
    std::int64_t integer(const char* name) const;
    std::int64_t integer(const char* name, std::int64_t fallback) const;
    std::optional<std::int64_t> optionalInteger(const char* name) const;
    bool flag(const char* name, bool fallback) const;
    std::vector<std::string> texts(const char* name) const;
    std::vector<std::int64_t> integers(const char* name) const;

private:
    const nlohmann::json* find(const char* name) const;

    const nlohmann::json& m_header;
};
