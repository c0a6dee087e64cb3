#pragma once

#include "Statement.h"

#include <cstdint>
#include <string>

// One SQLite connection to the repository file.
class Database {
public:
    Database(const std::string& path, bool readOnly);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    void exec(const char* sql);
    Statement prepare(std::string_view sql) { return Statement(m_db, sql); }
    std::int64_t lastInsertId() const;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};
