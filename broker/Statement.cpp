#include "Statement.h"

#include "BrokerError.h"

#include <sqlite3.h>

namespace
{

[[noreturn]] void fail(sqlite3* db, int rc)
{
    const std::string text = sqlite3_errmsg(db);
    if ((rc & 0xff) == SQLITE_CONSTRAINT)
        throw BrokerError("exists", text);
    throw BrokerError("internal", "database error: " + text);
}

} // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db)
{
    const int rc =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc);
}

Statement::Statement(sqlite3* db, sqlite3_stmt* cached, bool* inUse)
    : m_db(db), m_stmt(cached), m_inUse(inUse)
{
    *m_inUse = true;
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_inUse(other.m_inUse)
{
    other.m_stmt = nullptr;
    other.m_inUse = nullptr;
}

Statement::~Statement()
{
    if (m_inUse)
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        *m_inUse = false;
    }
    else
    {
        sqlite3_finalize(m_stmt);
    }
}

Statement& Statement::bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

Statement& Statement::bind(int index, std::string_view text)
{
    sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bind(int index, const std::optional<std::string>& text)
{
    if (text)
        return bind(index, std::string_view(*text));
    sqlite3_bind_null(m_stmt, index);
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes)
{
    // A zero-length blob must still be a blob, not NULL.
    sqlite3_bind_blob64(m_stmt, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                        SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    fail(m_db, rc);
}

void Statement::run()
{
    while (step())
    {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
             : std::string();
}

std::optional<std::string> Statement::optionalText(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return text(column);
}

std::string Statement::blob(int column) const
{
    const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
             : std::string();
}
