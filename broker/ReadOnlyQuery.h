#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstddef>
#include <set>
#include <string>

class Database;

// Runs a client's SELECT on a read-only connection: one statement, repository views only,
// bounded in size, rows, reply bytes and time. Refusals throw BrokerError("sql").
class ReadOnlyQuery
{
public:
    struct Limits
    {
        std::size_t maxStatement = 64 << 10;
        std::size_t maxRows = 200000;
        std::chrono::milliseconds maxTime{10000};
        // The reply must fit in one frame header (16 MiB); counted as the rows are read, and
        // checked exactly once the reply is encoded.
        std::size_t maxBytes = 16u << 20;
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
