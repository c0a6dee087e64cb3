#include "Database.h"

#include "BrokerError.h"

#include <sqlite3.h>

Database::Database(const std::string& path, bool readOnly)
{
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK)
    {
        const std::string text = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        throw BrokerError("internal", "cannot open " + path + ": " + text);
    }
    // Concurrent sessions wait for each other's short write transactions instead of failing.
    sqlite3_busy_timeout(m_db, 30000);
    sqlite3_extended_result_codes(m_db, 1);
    exec("PRAGMA foreign_keys=ON; PRAGMA case_sensitive_like=ON;");
}

Database::~Database()
{
    for (auto& [sql, cached] : m_cache)
        sqlite3_finalize(cached.stmt);
    sqlite3_close_v2(m_db);
}

Statement Database::prepare(std::string_view sql)
{
    const auto found = m_cache.find(std::string(sql));
    if (found != m_cache.end())
    {
        if (found->second.inUse)
            return Statement(m_db, sql);
        return Statement(m_db, found->second.stmt, &found->second.inUse);
    }
    Statement fresh(m_db, sql);
    Cached& cached = m_cache[std::string(sql)];
    std::swap(cached.stmt, fresh.m_stmt);
    return Statement(m_db, cached.stmt, &cached.inUse);
}

void Database::exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK)
    {
        const std::string text = error ? error : "unknown error";
        sqlite3_free(error);
        throw BrokerError("internal", "database error: " + text);
    }
}

std::int64_t Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}
