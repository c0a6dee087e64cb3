#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement; errors become BrokerError("internal") except constraint failures
// ("exists").
class Statement
{
public:
    Statement(sqlite3* db, std::string_view sql);
    // Borrows a statement kept prepared by its Database; resets it instead of finalising it.
    Statement(sqlite3* db, sqlite3_stmt* cached, bool* inUse);
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
    Statement& bind(int index, const std::string& text)
    {
        return bind(index, std::string_view(text));
    }
    Statement& bind(int index, const std::optional<std::string>& text);
    Statement& bindBlob(int index, std::string_view bytes);

    // True while a row is available.
    bool step();
    void run();
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    std::string text(int column) const;
    std::optional<std::string> optionalText(int column) const;
    std::string blob(int column) const;

    sqlite3_stmt* handle() const { return m_stmt; }

private:
    friend class Database;

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    bool* m_inUse = nullptr;
};
