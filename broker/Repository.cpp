#include "Repository.h"

#include "BrokerError.h"
#include "Transaction.h"

#include <sodium.h>
#include <sqlite3.h>

#include <ctime>
#include <filesystem>

namespace
{

constexpr int SchemaVersion = 3;

// Version 2: failed logins, so that throttling survives a restart and harvadm can clear it.
const char* const LoginFailuresTable = R"SQL(
CREATE TABLE login_failures(
    subject TEXT PRIMARY KEY,
    failures INTEGER NOT NULL,
    last REAL NOT NULL,
    locked_until REAL NOT NULL DEFAULT 0);
)SQL";

// Version 3: a counter of changes to what sessions cache (see ContextCache). Projects and states
// are never deleted; packages and processes are.
const char* const ContextChangesTable = R"SQL(
CREATE TABLE context_changes(n INTEGER NOT NULL);
INSERT INTO context_changes VALUES(0);
CREATE TRIGGER packages_deleted AFTER DELETE ON packages
    BEGIN UPDATE context_changes SET n = n + 1; END;
CREATE TRIGGER packages_changed AFTER UPDATE ON packages
    BEGIN UPDATE context_changes SET n = n + 1; END;
CREATE TRIGGER processes_deleted AFTER DELETE ON processes
    BEGIN UPDATE context_changes SET n = n + 1; END;
CREATE TRIGGER processes_changed AFTER UPDATE ON processes
    BEGIN UPDATE context_changes SET n = n + 1; END;
)SQL";

const char* const Schema = R"SQL(
CREATE TABLE users(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    hash TEXT NOT NULL,
    admin INTEGER NOT NULL DEFAULT 0);
CREATE TABLE projects(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    active INTEGER NOT NULL);
CREATE TABLE states(
    id INTEGER PRIMARY KEY,
    project INTEGER NOT NULL REFERENCES projects(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    position INTEGER NOT NULL,
    UNIQUE(project, name));
CREATE TABLE processes(
    id INTEGER PRIMARY KEY,
    state INTEGER NOT NULL REFERENCES states(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    kind TEXT NOT NULL CHECK(kind IN ('checkout','checkin','deleteversion','renameitem','removeitem')),
    UNIQUE(state, name));
CREATE TABLE packages(
    id INTEGER PRIMARY KEY,
    state INTEGER NOT NULL REFERENCES states(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    UNIQUE(state, name));
CREATE TABLE repositories(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    root INTEGER);
CREATE TABLE project_repositories(
    project INTEGER NOT NULL REFERENCES projects(id) ON DELETE CASCADE,
    repository INTEGER NOT NULL REFERENCES repositories(id) ON DELETE CASCADE,
    PRIMARY KEY(project, repository));
CREATE TABLE items(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT NOT NULL,
    parent INTEGER REFERENCES items(id),
    repository INTEGER NOT NULL REFERENCES repositories(id),
    type INTEGER NOT NULL CHECK(type IN (0, 1)),
    path TEXT,
    removed INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX items_live_name ON items(parent, name) WHERE removed = 0;
CREATE UNIQUE INDEX items_live_path ON items(path) WHERE removed = 0;
CREATE INDEX items_name ON items(name);
CREATE TABLE contents(
    id INTEGER PRIMARY KEY,
    hash BLOB NOT NULL UNIQUE,
    size INTEGER NOT NULL,
    bytes BLOB NOT NULL);
CREATE TABLE versions(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    item INTEGER NOT NULL REFERENCES items(id),
    number INTEGER NOT NULL,
    status TEXT NOT NULL CHECK(status IN ('N', 'R')),
    package INTEGER REFERENCES packages(id) ON DELETE SET NULL,
    modifier TEXT NOT NULL,
    modified TEXT NOT NULL,
    description TEXT,
    machine TEXT,
    clientpath TEXT,
    content INTEGER NOT NULL REFERENCES contents(id),
    UNIQUE(item, number));
CREATE UNIQUE INDEX versions_one_reservation ON versions(item) WHERE status = 'R';
CREATE VIEW haritems AS
    SELECT id AS itemobjid, name AS itemname, coalesce(parent, 0) AS parentobjid,
           repository AS repositobjid, type AS itemtype
    FROM items WHERE removed = 0;
CREATE VIEW harpathfullname AS
    SELECT id AS itemobjid, path AS pathfullname FROM items WHERE removed = 0 AND type = 0;
CREATE VIEW harversions AS
    SELECT v.id AS versionobjid, v.item AS itemobjid, CAST(v.number AS TEXT) AS mappedversion,
           v.status AS versionstatus, v.modifier AS modifier, v.modified AS modifiedtime,
           p.name AS packagename, v.description AS description, v.machine AS clientmachine,
           v.clientpath AS clientpath
    FROM versions v JOIN items i ON i.id = v.item AND i.removed = 0
    LEFT JOIN packages p ON p.id = v.package;
CREATE VIEW harrepository AS
    SELECT id AS repositobjid, name AS repositname, root AS rootobjid FROM repositories;
)SQL";

// Cheap enough that creating the sample stays well under a second, yet salted and memory-hard; the
// parameters are part of each stored hash, so stronger ones can be used later without migration.
constexpr unsigned long long HashOps = 2;
constexpr std::size_t HashMemory = 8u << 20;

const char* const VersionColumns =
    "v.id, v.item, v.number, i.name, v.status, v.modifier, v.modified, p.name, coalesce(v.package, "
    "0), "
    "v.description, v.machine, v.clientpath, f.path, v.content, c.size "
    "FROM versions v JOIN items i ON i.id = v.item JOIN items f ON f.id = i.parent "
    "JOIN contents c ON c.id = v.content LEFT JOIN packages p ON p.id = v.package ";

VersionInfo readVersion(const Statement& s)
{
    VersionInfo v;
    v.objid = s.integer(0);
    v.itemobjid = s.integer(1);
    v.number = s.integer(2);
    v.name = s.text(3);
    v.status = s.text(4);
    v.modifier = s.text(5);
    v.modified = s.text(6);
    v.package = s.optionalText(7);
    v.packageId = s.integer(8);
    v.description = s.optionalText(9);
    v.machine = s.optionalText(10);
    v.clientPath = s.optionalText(11);
    v.parentPath = s.text(12);
    v.contentId = s.integer(13);
    v.size = s.integer(14);
    return v;
}

ItemInfo readItem(const Statement& s)
{
    ItemInfo item;
    item.objid = s.integer(0);
    item.name = s.text(1);
    item.path = s.text(2);
    item.repositobjid = s.integer(3);
    item.repository = s.text(4);
    item.isPath = s.integer(5) == 0;
    return item;
}

bool globMatch(const char* pattern, const char* name)
{
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name)
    {
        if (*pattern == '*')
        {
            star = pattern++;
            resume = name;
        }
        else if (*pattern == *name)
        {
            ++pattern;
            ++name;
        }
        else if (star)
        {
            pattern = star + 1;
            name = ++resume;
        }
        else
        {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

std::int64_t single(Statement& s, const std::string& missing)
{
    if (!s.step())
        throw BrokerError("notFound", missing);
    return s.integer(0);
}

std::vector<std::string> column(Statement s)
{
    std::vector<std::string> names;
    while (s.step())
        names.push_back(s.text(0));
    return names;
}

// Picks what the version option asks for from one item's versions (oldest first).
void chooseFromItem(const std::vector<VersionInfo>& versions, const ChooserQuery& q,
                    std::vector<VersionInfo>& out)
{
    std::vector<const VersionInfo*> passing;
    if (!(q.branchOption & 0x1))
        return;
    for (const VersionInfo& v : versions)
    {
        const int bit = v.status == "R" ? 0x10 : 0x1;
        if (q.statusOption & bit)
            passing.push_back(&v);
    }
    if (passing.empty())
        return;
    if (q.versionOption & 0x1)
    {
        for (const VersionInfo* v : passing)
            out.push_back(*v);
        return;
    }
    std::vector<bool> chosen(passing.size(), false);
    const bool known = q.versionOption & (0x100 | 0x1000 | 0x10000);
    if (!known || (q.versionOption & 0x100))
        chosen.back() = true;
    for (std::size_t i = passing.size(); i-- > 0;)
    {
        if ((q.versionOption & 0x1000) && passing[i]->status == "N")
        {
            chosen[i] = true;
            break;
        }
    }
    for (std::size_t i = passing.size(); i-- > 0;)
    {
        if ((q.versionOption & 0x10000) && q.packageId != 0 && passing[i]->packageId == q.packageId)
        {
            chosen[i] = true;
            break;
        }
    }
    for (std::size_t i = 0; i < passing.size(); ++i)
        if (chosen[i])
            out.push_back(*passing[i]);
}

} // namespace

Repository::Repository(const std::string& dataDir, Open open) : m_db(databasePath(dataDir), false)
{
    if (sodium_init() < 0)
        throw BrokerError("internal", "libsodium cannot start");
    if (open == Open::CreateSchema)
    {
        m_db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
        createSchema();
    }
    else
    {
        // WAL is a property of the file, set when the schema was made; nothing here writes.
        m_db.exec("PRAGMA synchronous=NORMAL;");
    }
}

std::string Repository::databasePath(const std::string& dataDir)
{
    std::filesystem::create_directories(dataDir);
    return (std::filesystem::path(dataDir) / "harvest.db").string();
}

void Repository::createSchema()
{
    Transaction t(m_db);
    Statement version = m_db.prepare("PRAGMA user_version");
    version.step();
    const std::int64_t found = version.integer(0);
    version.reset();
    if (found == SchemaVersion)
        return;
    if (found > SchemaVersion)
        throw BrokerError("internal", "database schema version " + std::to_string(found) +
                                          " is newer than " + std::to_string(SchemaVersion));
    if (found == 0)
        m_db.exec(Schema);
    if (found <= 1)
        m_db.exec(LoginFailuresTable);
    if (found <= 2)
        m_db.exec(ContextChangesTable);
    m_db.exec(("PRAGMA user_version=" + std::to_string(SchemaVersion)).c_str());
    t.commit();
}

bool Repository::isEmpty()
{
    Statement s =
        m_db.prepare("SELECT (SELECT count(*) FROM users) + (SELECT count(*) FROM projects) + "
                     "(SELECT count(*) FROM repositories)");
    s.step();
    return s.integer(0) == 0;
}

std::string Repository::now()
{
    const std::time_t t = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&t, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

bool Repository::validName(const std::string& name)
{
    return !name.empty() && name.size() <= 255 && name.find_first_of("\\/") == std::string::npos &&
           name != "." && name != ".." && name.find('\0') == std::string::npos;
}

void Repository::createUser(const std::string& name, const std::string& password, bool admin)
{
    if (name.empty())
        throw BrokerError("invalid", "empty user name");
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(), HashOps, HashMemory) != 0)
        throw BrokerError("internal", "password hashing failed");
    m_db.prepare("INSERT INTO users(name, hash, admin) VALUES(?, ?, ?)")
        .bind(1, name)
        .bind(2, std::string_view(hash))
        .bind(3, std::int64_t{admin})
        .run();
}

void Repository::deleteUser(const std::string& name)
{
    Statement s = m_db.prepare("DELETE FROM users WHERE name = ?");
    s.bind(1, name).run();
    if (sqlite3_changes(m_db.handle()) == 0)
        throw BrokerError("notFound", "no user " + name);
}

std::optional<bool> Repository::authenticate(const std::string& name, const std::string& password)
{
    Statement s = m_db.prepare("SELECT hash, admin FROM users WHERE name = ?");
    s.bind(1, name);
    if (!s.step())
    {
        // Spend the same effort as for a real user, so timing does not tell which names exist.
        char hash[crypto_pwhash_STRBYTES];
        if (crypto_pwhash_str(hash, password.data(), password.size(), HashOps, HashMemory) != 0)
            throw BrokerError("internal", "password hashing failed");
        return std::nullopt;
    }
    const std::string hash = s.text(0);
    if (crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) != 0)
        return std::nullopt;
    return s.integer(1) != 0;
}

std::optional<LoginFailures> Repository::loginFailures(const std::string& subject, double now,
                                                       double forgetAfter)
{
    Statement s = m_db.prepare("SELECT failures, last, locked_until FROM login_failures "
                               "WHERE subject = ? AND max(last, locked_until) + ? >= ?");
    s.bind(1, subject);
    sqlite3_bind_double(s.handle(), 2, forgetAfter);
    sqlite3_bind_double(s.handle(), 3, now);
    if (!s.step())
        return std::nullopt;
    return LoginFailures{s.integer(0), sqlite3_column_double(s.handle(), 1),
                         sqlite3_column_double(s.handle(), 2)};
}

bool Repository::recordLoginFailure(const std::string& subject, double now,
                                    std::int64_t lockFailures, double lockSeconds,
                                    double forgetAfter)
{
    Statement forget =
        m_db.prepare("DELETE FROM login_failures WHERE max(last, locked_until) + ? < ?");
    sqlite3_bind_double(forget.handle(), 1, forgetAfter);
    sqlite3_bind_double(forget.handle(), 2, now);
    forget.run();
    Statement count =
        m_db.prepare("INSERT INTO login_failures(subject, failures, last) VALUES(?1, 1, ?2) "
                     "ON CONFLICT(subject) DO UPDATE SET failures = failures + 1, last = ?2");
    count.bind(1, subject);
    sqlite3_bind_double(count.handle(), 2, now);
    count.run();
    Statement lock = m_db.prepare(
        "UPDATE login_failures SET locked_until = ?2 WHERE subject = ?1 AND failures >= ?3 "
        "AND locked_until < ?4");
    lock.bind(1, subject);
    sqlite3_bind_double(lock.handle(), 2, now + lockSeconds);
    lock.bind(3, lockFailures);
    sqlite3_bind_double(lock.handle(), 4, now);
    lock.run();
    return sqlite3_changes(m_db.handle()) > 0;
}

std::int64_t Repository::clearLoginFailures(const std::string& user, const std::string& peer)
{
    Statement s = m_db.prepare("DELETE FROM login_failures WHERE (?1 = '' AND ?2 = '') OR "
                               "(?1 <> '' AND subject = 'user:' || ?1) OR "
                               "(?2 <> '' AND subject = 'peer:' || ?2)");
    s.bind(1, user).bind(2, peer).run();
    return sqlite3_changes(m_db.handle());
}

std::int64_t Repository::createProject(const std::string& name, bool active)
{
    if (name.empty())
        throw BrokerError("invalid", "empty project name");
    m_db.prepare("INSERT INTO projects(name, active) VALUES(?, ?)")
        .bind(1, name)
        .bind(2, std::int64_t{active})
        .run();
    return m_db.lastInsertId();
}

void Repository::setProjectActive(const std::string& name, bool active)
{
    m_db.prepare("UPDATE projects SET active = ? WHERE id = ?")
        .bind(1, std::int64_t{active})
        .bind(2, project(name))
        .run();
}

std::int64_t Repository::contextChanges()
{
    Statement s = m_db.prepare("SELECT n FROM context_changes");
    return s.step() ? s.integer(0) : 0;
}

std::int64_t Repository::project(const std::string& name)
{
    Statement s = m_db.prepare("SELECT id FROM projects WHERE name = ?");
    s.bind(1, name);
    return single(s, "no project " + name);
}

std::vector<std::string> Repository::projects(int kind)
{
    const char* filter = kind == 0   ? "1"
                         : kind == 1 ? "active <> 0"
                         : kind == 2 ? "active = 0"
                                     : "0";
    return column(
        m_db.prepare(std::string("SELECT name FROM projects WHERE ") + filter + " ORDER BY id"));
}

std::int64_t Repository::createState(std::int64_t projectId, const std::string& name)
{
    if (name.empty())
        throw BrokerError("invalid", "empty state name");
    m_db.prepare("INSERT INTO states(project, name, position) "
                 "VALUES(?1, ?2, (SELECT coalesce(max(position), 0) + 1 FROM states WHERE project "
                 "= ?1))")
        .bind(1, projectId)
        .bind(2, name)
        .run();
    return m_db.lastInsertId();
}

std::int64_t Repository::state(std::int64_t projectId, const std::string& name)
{
    Statement s = m_db.prepare("SELECT id FROM states WHERE project = ? AND name = ?");
    s.bind(1, projectId).bind(2, name);
    return single(s, "no state " + name);
}

std::vector<std::string> Repository::states(std::int64_t projectId)
{
    Statement s = m_db.prepare("SELECT name FROM states WHERE project = ? ORDER BY position");
    s.bind(1, projectId);
    return column(std::move(s));
}

void Repository::createProcess(std::int64_t stateId, const std::string& name,
                               const std::string& kind)
{
    if (name.empty())
        throw BrokerError("invalid", "empty process name");
    try
    {
        m_db.prepare("INSERT INTO processes(state, name, kind) VALUES(?, ?, ?)")
            .bind(1, stateId)
            .bind(2, name)
            .bind(3, kind)
            .run();
    }
    catch (const BrokerError& e)
    {
        if (e.code() == "exists" && std::string(e.what()).find("CHECK") != std::string::npos)
            throw BrokerError("invalid", "unknown process kind " + kind);
        throw;
    }
}

void Repository::deleteProcess(std::int64_t stateId, const std::string& name)
{
    m_db.prepare("DELETE FROM processes WHERE state = ? AND name = ?")
        .bind(1, stateId)
        .bind(2, name)
        .run();
    if (sqlite3_changes(m_db.handle()) == 0)
        throw BrokerError("notFound", "no process " + name);
}

std::vector<std::pair<std::string, std::string>> Repository::processes(std::int64_t stateId)
{
    Statement s = m_db.prepare("SELECT name, kind FROM processes WHERE state = ? ORDER BY id");
    s.bind(1, stateId);
    std::vector<std::pair<std::string, std::string>> list;
    while (s.step())
        list.emplace_back(s.text(0), s.text(1));
    return list;
}

void Repository::requireProcess(std::int64_t stateId, const std::string& name,
                                const std::string& kind)
{
    Statement s =
        m_db.prepare("SELECT id FROM processes WHERE state = ? AND name = ? AND kind = ?");
    s.bind(1, stateId).bind(2, name).bind(3, kind);
    single(s, "the state has no " + kind + " process " + name);
}

std::int64_t Repository::createPackage(std::int64_t stateId, const std::string& name)
{
    if (name.empty())
        throw BrokerError("invalid", "empty package name");
    m_db.prepare("INSERT INTO packages(state, name) VALUES(?, ?)")
        .bind(1, stateId)
        .bind(2, name)
        .run();
    return m_db.lastInsertId();
}

void Repository::deletePackage(std::int64_t stateId, const std::string& name)
{
    m_db.prepare("DELETE FROM packages WHERE id = ?").bind(1, package(stateId, name)).run();
}

std::int64_t Repository::package(std::int64_t stateId, const std::string& name)
{
    Statement s = m_db.prepare("SELECT id FROM packages WHERE state = ? AND name = ?");
    s.bind(1, stateId).bind(2, name);
    return single(s, "no package " + name);
}

std::vector<std::string> Repository::packages(std::int64_t stateId)
{
    Statement s = m_db.prepare("SELECT name FROM packages WHERE state = ? ORDER BY id");
    s.bind(1, stateId);
    return column(std::move(s));
}

std::pair<std::int64_t, std::int64_t> Repository::createRepository(const std::string& name)
{
    if (!validName(name))
        throw BrokerError("invalid", "invalid repository name");
    m_db.prepare("INSERT INTO repositories(name) VALUES(?)").bind(1, name).run();
    const std::int64_t repository = m_db.lastInsertId();
    const std::int64_t root =
        insertItem(name, std::nullopt, repository, 0, "\\" + name, std::nullopt);
    m_db.prepare("UPDATE repositories SET root = ? WHERE id = ?")
        .bind(1, root)
        .bind(2, repository)
        .run();
    return {repository, root};
}

void Repository::linkRepository(const std::string& repository, std::int64_t projectId)
{
    Statement s = m_db.prepare("SELECT id FROM repositories WHERE name = ?");
    s.bind(1, repository);
    const std::int64_t id = single(s, "no repository " + repository);
    m_db.prepare("INSERT OR IGNORE INTO project_repositories(project, repository) VALUES(?, ?)")
        .bind(1, projectId)
        .bind(2, id)
        .run();
}

std::vector<ItemInfo> Repository::rootItems(std::int64_t projectId)
{
    Statement s = m_db.prepare(
        "SELECT i.id, i.name, i.path, r.id, r.name, i.type FROM project_repositories pr "
        "JOIN repositories r ON r.id = pr.repository JOIN items i ON i.id = r.root "
        "WHERE pr.project = ? AND i.removed = 0 ORDER BY r.id");
    s.bind(1, projectId);
    std::vector<ItemInfo> list;
    while (s.step())
        list.push_back(readItem(s));
    return list;
}

std::vector<ItemInfo> Repository::subItems(std::int64_t folderId)
{
    Statement s = m_db.prepare(
        "SELECT i.id, i.name, f.path || '\\' || i.name, r.id, r.name, i.type FROM items i "
        "JOIN items f ON f.id = i.parent JOIN repositories r ON r.id = i.repository "
        "WHERE i.parent = ? AND i.removed = 0 ORDER BY i.type, i.name");
    s.bind(1, folderId);
    std::vector<ItemInfo> list;
    while (s.step())
        list.push_back(readItem(s));
    return list;
}

std::optional<std::int64_t> Repository::folder(const std::string& path)
{
    Statement s = m_db.prepare("SELECT id FROM items WHERE path = ? AND removed = 0");
    s.bind(1, path);
    if (!s.step())
        return std::nullopt;
    return s.integer(0);
}

bool Repository::projectSeesFolder(std::int64_t projectId, std::int64_t folderId)
{
    Statement s = m_db.prepare(
        "SELECT 1 FROM items i JOIN project_repositories pr ON pr.repository = i.repository "
        "WHERE i.id = ? AND pr.project = ?");
    s.bind(1, folderId).bind(2, projectId);
    return s.step();
}

std::int64_t Repository::insertItem(const std::string& name, std::optional<std::int64_t> parent,
                                    std::int64_t repository, int type,
                                    const std::optional<std::string>& path,
                                    std::optional<std::int64_t> objid)
{
    Statement s = m_db.prepare(
        "INSERT INTO items(id, name, parent, repository, type, path) VALUES(?, ?, ?, ?, ?, ?)");
    if (objid)
    {
        if (*objid <= 0 || *objid > 0x7fffffff)
            throw BrokerError("invalid", "object id out of range");
        s.bind(1, *objid);
    }
    s.bind(2, name).bind(4, repository).bind(5, std::int64_t{type}).bind(6, path);
    if (parent)
        s.bind(3, *parent);
    s.run();
    return m_db.lastInsertId();
}

std::int64_t Repository::createFolder(const std::string& path, std::optional<std::int64_t> objid)
{
    const std::size_t cut = path.rfind('\\');
    if (cut == std::string::npos || cut == 0)
        throw BrokerError("invalid", "a folder path needs a parent folder: " + path);
    const std::string name = path.substr(cut + 1);
    if (!validName(name))
        throw BrokerError("invalid", "invalid folder name in " + path);
    const auto parent = folder(path.substr(0, cut));
    if (!parent)
        throw BrokerError("notFound", "no folder " + path.substr(0, cut));
    Statement s = m_db.prepare("SELECT repository FROM items WHERE id = ?");
    s.bind(1, *parent).step();
    return insertItem(name, *parent, s.integer(0), 0, path, objid);
}

bool Repository::createPath(std::int64_t parentId, const std::string& relativePath)
{
    Statement s = m_db.prepare("SELECT path FROM items WHERE id = ?");
    s.bind(1, parentId).step();
    std::string path = s.text(0);
    std::size_t start = 0;
    while (start < relativePath.size())
    {
        std::size_t end = relativePath.find('\\', start);
        if (end == std::string::npos)
            end = relativePath.size();
        const std::string name = relativePath.substr(start, end - start);
        if (!validName(name))
            return false;
        path += "\\" + name;
        if (!folder(path))
        {
            if (liveItem(*folder(path.substr(0, path.rfind('\\'))), name))
                return false; // a file of that name is in the way
            createFolder(path);
        }
        start = end + 1;
    }
    return true;
}

std::int64_t Repository::createItem(std::int64_t folderId, const std::string& name,
                                    std::optional<std::int64_t> objid)
{
    if (!validName(name))
        throw BrokerError("invalid", "invalid item name " + name);
    Statement s = m_db.prepare("SELECT repository FROM items WHERE id = ? AND type = 0");
    s.bind(1, folderId);
    if (!s.step())
        throw BrokerError("notFound", "no such folder");
    return insertItem(name, folderId, s.integer(0), 1, std::nullopt, objid);
}

std::optional<std::int64_t> Repository::liveItem(std::int64_t folderId, const std::string& name)
{
    Statement s =
        m_db.prepare("SELECT id FROM items WHERE parent = ? AND name = ? AND removed = 0");
    s.bind(1, folderId).bind(2, name);
    if (!s.step())
        return std::nullopt;
    return s.integer(0);
}

std::int64_t Repository::fileByPath(const std::string& itemPath)
{
    const std::size_t cut = itemPath.rfind('\\');
    const auto parent = cut == std::string::npos ? std::nullopt : folder(itemPath.substr(0, cut));
    const auto item = parent ? liveItem(*parent, itemPath.substr(cut + 1)) : std::nullopt;
    if (!item)
        throw BrokerError("notFound", "no item " + itemPath);
    return *item;
}

bool Repository::renameItem(std::int64_t folderId, const std::string& name,
                            const std::string& newName)
{
    const auto item = liveItem(folderId, name);
    if (!item || !validName(newName) || liveItem(folderId, newName))
        return false;
    Statement s = m_db.prepare("SELECT path FROM items WHERE id = ?");
    s.bind(1, *item).step();
    const auto oldPath = s.optionalText(0);
    m_db.prepare("UPDATE items SET name = ? WHERE id = ?").bind(1, newName).bind(2, *item).run();
    if (oldPath)
    {
        // A folder's path and every path below it follow the new name.
        const std::string newPath = oldPath->substr(0, oldPath->rfind('\\') + 1) + newName;
        m_db.prepare(
                "UPDATE items SET path = ?2 || substr(path, length(?1) + 1) "
                "WHERE removed = 0 AND (path = ?1 OR substr(path, 1, length(?1) + 1) = ?1 || '\\')")
            .bind(1, *oldPath)
            .bind(2, newPath)
            .run();
    }
    return true;
}

bool Repository::removeItem(std::int64_t folderId, const std::string& name)
{
    const auto item = liveItem(folderId, name);
    if (!item)
        return false;
    Statement s = m_db.prepare("SELECT path FROM items WHERE id = ?");
    s.bind(1, *item).step();
    const auto path = s.optionalText(0);
    m_db.prepare("UPDATE items SET removed = 1 WHERE id = ?").bind(1, *item).run();
    if (path)
    {
        m_db.prepare("UPDATE items SET removed = 1 WHERE removed = 0 AND parent IN ("
                     "  SELECT id FROM items WHERE path = ?1 OR substr(path, 1, length(?1) + 1) = "
                     "?1 || '\\')")
            .bind(1, *path)
            .run();
        m_db.prepare("UPDATE items SET removed = 1 WHERE removed = 0 AND substr(path, 1, "
                     "length(?1) + 1) = ?1 || '\\'")
            .bind(1, *path)
            .run();
    }
    return true;
}

std::int64_t Repository::storeContent(const std::string& bytes)
{
    unsigned char hash[crypto_generichash_BYTES];
    crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(bytes.data()),
                       bytes.size(), nullptr, 0);
    const std::string_view key(reinterpret_cast<const char*>(hash), sizeof hash);
    Statement find = m_db.prepare("SELECT id FROM contents WHERE hash = ?");
    find.bindBlob(1, key);
    if (find.step())
        return find.integer(0);
    m_db.prepare("INSERT INTO contents(hash, size, bytes) VALUES(?, ?, ?)")
        .bindBlob(1, key)
        .bind(2, static_cast<std::int64_t>(bytes.size()))
        .bindBlob(3, bytes)
        .run();
    return m_db.lastInsertId();
}

std::string Repository::content(std::int64_t contentId)
{
    Statement s = m_db.prepare("SELECT bytes FROM contents WHERE id = ?");
    s.bind(1, contentId);
    if (!s.step())
        throw BrokerError("internal", "version data missing");
    return s.blob(0);
}

std::pair<std::int64_t, std::int64_t>
Repository::addVersion(std::int64_t itemId, const NewVersion& newVersion, std::int64_t contentId)
{
    if (newVersion.status != "N" && newVersion.status != "R")
        throw BrokerError("invalid", "version status must be N or R");
    Statement s = m_db.prepare("INSERT INTO versions(item, number, status, package, modifier, "
                               "modified, description, machine, clientpath, "
                               "content) VALUES(?1, (SELECT coalesce(max(number), -1) + 1 FROM "
                               "versions WHERE item = ?1), ?2, ?3, ?4, ?5, "
                               "?6, ?7, ?8, ?9)");
    s.bind(1, itemId)
        .bind(2, newVersion.status)
        .bind(4, newVersion.modifier)
        .bind(5, newVersion.modified.value_or(now()));
    if (newVersion.packageId != 0)
        s.bind(3, newVersion.packageId);
    s.bind(6, newVersion.description)
        .bind(7, newVersion.machine)
        .bind(8, newVersion.clientPath)
        .bind(9, contentId);
    try
    {
        s.run();
    }
    catch (const BrokerError& e)
    {
        if (e.code() == "exists" && newVersion.status == "R")
            throw BrokerError("exists", "the item is already reserved");
        throw;
    }
    const std::int64_t id = m_db.lastInsertId();
    Statement number = m_db.prepare("SELECT number FROM versions WHERE id = ?");
    number.bind(1, id).step();
    return {id, number.integer(0)};
}

std::optional<VersionInfo> Repository::version(std::int64_t objid)
{
    Statement s =
        m_db.prepare(std::string("SELECT ") + VersionColumns + "WHERE v.id = ? AND i.removed = 0");
    s.bind(1, objid);
    if (!s.step())
        return std::nullopt;
    return readVersion(s);
}

std::vector<VersionInfo> Repository::itemVersions(std::int64_t itemId)
{
    Statement s =
        m_db.prepare(std::string("SELECT ") + VersionColumns + "WHERE v.item = ? ORDER BY v.id");
    s.bind(1, itemId);
    std::vector<VersionInfo> list;
    while (s.step())
        list.push_back(readVersion(s));
    return list;
}

std::optional<VersionInfo> Repository::reservation(std::int64_t itemId)
{
    Statement s = m_db.prepare(std::string("SELECT ") + VersionColumns +
                               "WHERE v.item = ? AND v.status = 'R'");
    s.bind(1, itemId);
    if (!s.step())
        return std::nullopt;
    return readVersion(s);
}

void Repository::makeNormal(std::int64_t versionId, const NewVersion& newVersion,
                            std::int64_t contentId)
{
    Statement s = m_db.prepare(
        "UPDATE versions SET status = 'N', modifier = ?, modified = ?, description = ?, "
        "package = ?, machine = NULL, clientpath = NULL, content = ? WHERE id = ?");
    s.bind(1, newVersion.modifier)
        .bind(2, newVersion.modified.value_or(now()))
        .bind(3, newVersion.description);
    if (newVersion.packageId != 0)
        s.bind(4, newVersion.packageId);
    s.bind(5, contentId).bind(6, versionId).run();
}

void Repository::deleteVersion(std::int64_t versionId)
{
    m_db.prepare("DELETE FROM versions WHERE id = ?").bind(1, versionId).run();
    if (sqlite3_changes(m_db.handle()) == 0)
        throw BrokerError("notFound", "no version " + std::to_string(versionId));
}

std::vector<VersionInfo> Repository::chooseVersions(const ChooserQuery& q)
{
    std::vector<VersionInfo> chosen;
    if (q.versionObjId != 0)
    {
        if (auto v = version(q.versionObjId))
            chosen.push_back(*v);
        return chosen;
    }
    const auto parent = folder(q.parentPath);
    if (!parent || (q.projectId != 0 && !projectSeesFolder(q.projectId, *parent)))
        return chosen;
    const bool pattern = q.itemName.find('*') != std::string::npos;
    // Separate statements per shape, so that a plain name and a single folder can use their
    // indexes.
    const std::string folders =
        q.recursive ? "(f.id = ?1 OR (f.removed = 0 AND substr(f.path, 1, length(?3) + 1) = "
                      "?3 || '\\'))"
                    : "f.id = ?1 AND ?3 IS NOT NULL";
    Statement s = m_db.prepare(std::string("SELECT ") + VersionColumns +
                               "WHERE i.removed = 0 AND i.type = 1 AND " +
                               (pattern ? "?2 IS NOT NULL" : "i.name = ?2") + " AND " + folders +
                               " ORDER BY f.id <> ?1, f.path, i.name, v.id");
    s.bind(1, *parent).bind(2, q.itemName).bind(3, q.parentPath);
    std::vector<VersionInfo> itemVersions;
    auto flush = [&]
    {
        chooseFromItem(itemVersions, q, chosen);
        itemVersions.clear();
    };
    while (s.step())
    {
        VersionInfo v = readVersion(s);
        if (pattern && !globMatch(q.itemName.c_str(), v.name.c_str()))
            continue;
        if (!itemVersions.empty() && itemVersions.back().itemobjid != v.itemobjid)
            flush();
        itemVersions.push_back(std::move(v));
    }
    flush();
    return chosen;
}
