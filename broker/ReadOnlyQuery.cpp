#include "ReadOnlyQuery.h"

#include "BrokerError.h"
#include "Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace
{

using Clock = std::chrono::steady_clock;

// Client SQL may name only these views; the views themselves read the tables below them.
const std::set<std::string> PublicViews = {"haritems", "harpathfullname", "harversions",
                                           "harrepository"};
const std::set<std::string> TablesBehindViews = {"items", "versions", "packages", "repositories"};

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Reads are allowed of the public views, of the tables behind them on the views' behalf, and of
// names that are no schema object (common table expressions); never of anything else.
int authorize(void* schemaNames, int action, const char* first, const char* second, const char*,
              const char* view)
{
    switch (action)
    {
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_READ:
    {
        const std::string table = lower(first ? first : "");
        const bool wholeRow = !second || !*second;
        if (table.rfind("sqlite_", 0) == 0)
            return SQLITE_DENY;
        if (PublicViews.count(table))
            return SQLITE_OK;
        if (TablesBehindViews.count(table) && ((view && PublicViews.count(view)) || wholeRow))
            return SQLITE_OK;
        return static_cast<const std::set<std::string>*>(schemaNames)->count(table) ? SQLITE_DENY
                                                                                    : SQLITE_OK;
    }
    default:
        return SQLITE_DENY;
    }
}

struct Deadline
{
    Clock::time_point end;
};

int checkDeadline(void* deadline)
{
    return Clock::now() > static_cast<Deadline*>(deadline)->end ? 1 : 0;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool startsWithSelect(const std::string& sql)
{
    std::size_t i = 0;
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i])))
        ++i;
    const std::string word = upper(sql.substr(i, 6));
    return word == "SELECT" || word.rfind("WITH", 0) == 0;
}

bool onlyBlanksAndSemicolons(const char* tail)
{
    for (; *tail; ++tail)
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';')
            return false;
    return true;
}

class Guard
{
public:
    Guard(sqlite3* db, Deadline& deadline, std::set<std::string>& schemaNames) : m_db(db)
    {
        sqlite3_set_authorizer(db, authorize, &schemaNames);
        sqlite3_progress_handler(db, 10000, checkDeadline, &deadline);
    }
    ~Guard()
    {
        sqlite3_set_authorizer(m_db, nullptr, nullptr);
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }

private:
    sqlite3* m_db;
};

class Prepared
{
public:
    explicit Prepared(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~Prepared() { sqlite3_finalize(m_stmt); }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt;
};

} // namespace

ReadOnlyQuery::ReadOnlyQuery(Database& readOnlyDb, Limits limits)
    : m_db(readOnlyDb), m_limits(limits)
{
    Statement names = m_db.prepare("SELECT lower(name) FROM sqlite_schema");
    while (names.step())
        m_schemaNames.insert(names.text(0));
}

nlohmann::json ReadOnlyQuery::run(const std::string& statement)
{
    if (statement.size() > m_limits.maxStatement)
        throw BrokerError("sql", "statement too long");
    if (std::memchr(statement.data(), '\0', statement.size()))
        throw BrokerError("sql", "statement holds a NUL character");
    if (!startsWithSelect(statement))
        throw BrokerError("sql", "only a SELECT statement is allowed");
    sqlite3* db = m_db.handle();
    Deadline deadline{Clock::now() + m_limits.maxTime};
    Guard guard(db, deadline, m_schemaNames);

    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, statement.c_str(), -1, &raw, &tail) != SQLITE_OK || !raw)
    {
        sqlite3_finalize(raw);
        throw BrokerError("sql", std::string("statement refused: ") + sqlite3_errmsg(db));
    }
    Prepared stmt(raw);
    if (!onlyBlanksAndSemicolons(tail))
        throw BrokerError("sql", "only one statement is allowed");
    if (!sqlite3_stmt_readonly(raw))
        throw BrokerError("sql", "only reading statements are allowed");

    const int count = sqlite3_column_count(raw);
    std::vector<std::string> names;
    std::vector<int> kept;
    for (int i = 0; i < count; ++i)
    {
        const std::string name = upper(sqlite3_column_name(raw, i));
        if (std::find(names.begin(), names.end(), name) == names.end())
        {
            names.push_back(name);
            kept.push_back(i);
        }
    }
    std::vector<nlohmann::json> columns(names.size(), nlohmann::json::array());
    std::size_t rows = 0;
    // A lower bound of the encoded reply: every value's own bytes and one separator (text adds
    // two quotes). Past the limit the reply cannot fit, whatever escaping adds.
    std::size_t bytes = 0;
    for (const std::string& name : names)
        bytes += name.size() + 8;
    const auto tooLarge = [&]
    {
        return BrokerError("sql", "the result is larger than the 16 MiB reply limit (" +
                                      std::to_string(m_limits.maxBytes) + " bytes)");
    };
    for (;;)
    {
        const int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_INTERRUPT)
            throw BrokerError("sql", "statement took too long");
        if (rc != SQLITE_ROW)
            throw BrokerError("sql", std::string("statement failed: ") + sqlite3_errmsg(db));
        if (++rows > m_limits.maxRows)
            throw BrokerError("sql",
                              "too many rows (more than " + std::to_string(m_limits.maxRows) + ")");
        for (std::size_t c = 0; c < kept.size(); ++c)
        {
            const int i = kept[c];
            switch (sqlite3_column_type(raw, i))
            {
            case SQLITE_NULL:
                columns[c].push_back(nullptr);
                break;
            case SQLITE_INTEGER:
                columns[c].push_back(sqlite3_column_int64(raw, i));
                break;
            case SQLITE_FLOAT:
                columns[c].push_back(sqlite3_column_double(raw, i));
                break;
            case SQLITE_TEXT:
            {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
                const auto size = static_cast<std::size_t>(sqlite3_column_bytes(raw, i));
                bytes += size + 2;
                if (bytes > m_limits.maxBytes)
                    throw tooLarge();
                columns[c].push_back(std::string(text, size));
                break;
            }
            default:
                throw BrokerError("sql", "binary columns cannot be returned");
            }
            bytes += 2;
        }
        if (bytes > m_limits.maxBytes)
            throw tooLarge();
    }
    nlohmann::json result = {
        {"columns", names}, {"data", nlohmann::json::object()}, {"rows", rows}};
    for (std::size_t c = 0; c < names.size(); ++c)
        result["data"][names[c]] = std::move(columns[c]);
    return result;
}
