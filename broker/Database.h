#pragma once

#include "Statement.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// One SQLite connection to the repository file.
class Database
{
public:
    Database(const std::string& path, bool readOnly);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    void exec(const char* sql);
    // Statements are prepared once per connection and reused; a statement still in use when the
    // same text is asked for again gets a fresh copy.
    Statement prepare(std::string_view sql);
    std::int64_t lastInsertId() const;
    sqlite3* handle() const { return m_db; }

private:
    struct Cached
    {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };

    sqlite3* m_db = nullptr;
    std::unordered_map<std::string, Cached> m_cache;
};
