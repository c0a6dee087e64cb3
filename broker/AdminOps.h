#pragma once

#include <nlohmann/json.hpp>

#include <string>

class Repository;

// The administrative requests, shared by the wire (admin users) and harvadm.
class AdminOps
{
public:
    explicit AdminOps(Repository& repository) : m_repository(repository) {}

    // `op` is the name without its "admin." prefix; returns the reply's extra fields.
    nlohmann::json run(const std::string& op, const nlohmann::json& request,
                       const std::string& payload);

private:
    std::int64_t packageOf(const nlohmann::json& request);

    Repository& m_repository;
};
