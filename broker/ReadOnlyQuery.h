#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstddef>
#include <set>
#include <string>

class Database;

// Runs a client's SELECT on a read-only connection: one statement, repository views only,
// bounded in size, rows and time. Refusals throw BrokerError("sql").
class ReadOnlyQuery
{
public:
    struct Limits
    {
        std::size_t maxStatement = 64 << 10;
        std::size_t maxRows = 200000;
        std::chrono::milliseconds maxTime{10000};
    };

    ReadOnlyQuery(Database& readOnlyDb, Limits limits);
    explicit ReadOnlyQuery(Database& readOnlyDb) : ReadOnlyQuery(readOnlyDb, Limits()) {}

    // {"columns":[...], "data":{NAME:[...]}, "rows":N}
    nlohmann::json run(const std::string& statement);

private:
    Database& m_db;
    Limits m_limits;
    std::set<std::string> m_schemaNames;
};
