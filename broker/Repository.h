#pragma once

#include "Database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A file or folder as the clients see it.
struct ItemInfo
{
    std::int64_t objid = 0;
    std::string name;
    std::string path; // folder path + "\" + name; a root folder's own path
    std::int64_t repositobjid = 0;
    std::string repository;
    bool isPath = false;
};

// One version with what the chooser reports about it.
struct VersionInfo
{
    std::int64_t objid = 0;
    std::int64_t itemobjid = 0;
    std::int64_t number = 0;
    std::string name;
    std::string status;
    std::string modifier;
    std::string modified;
    std::optional<std::string> package;
    std::int64_t packageId = 0;
    std::optional<std::string> description;
    std::optional<std::string> machine;
    std::optional<std::string> clientPath;
    std::string parentPath;
    std::int64_t contentId = 0;
    std::int64_t size = 0;

    std::string version() const { return std::to_string(number); }
    std::string itemPath() const { return parentPath + "\\" + name; }
};

// What a new version records besides its bytes.
struct NewVersion
{
    std::string status = "N";
    std::string modifier;
    std::int64_t packageId = 0;
    std::optional<std::string> description;
    std::optional<std::string> modified; // now when absent
    std::optional<std::string> machine;
    std::optional<std::string> clientPath;
};

struct ChooserQuery
{
    std::int64_t projectId = 0;
    std::int64_t packageId = 0;
    std::string parentPath;
    std::string itemName;
    bool recursive = false;
    std::int64_t versionObjId = 0;
    int versionOption = 0x100;
    int branchOption = 0x111;
    int statusOption = 0x11111;
};

// Failed logins counted for one subject ("user:<name>" or "peer:<address>").
struct LoginFailures
{
    std::int64_t failures = 0;
    double last = 0;        // seconds since the Unix epoch
    double lockedUntil = 0; // 0 when never locked
};

// The repository database of one data folder: schema, lookups and every change. One instance per
// thread; sessions share the file, not the object.
class Repository
{
public:
    enum class Open
    {
        CreateSchema, // creates or upgrades the schema (a write transaction): programs at start
        Existing      // only opens the file, takes no lock: the broker's worker threads
    };
    explicit Repository(const std::string& dataDir, Open open = Open::CreateSchema);

    static std::string databasePath(const std::string& dataDir);
    Database& db() { return m_db; }
    bool isEmpty();

    // Users.
    void createUser(const std::string& name, const std::string& password, bool admin);
    void deleteUser(const std::string& name);
    // The user's admin flag when name and password match.
    std::optional<bool> authenticate(const std::string& name, const std::string& password);

    // Failed logins (see LoginThrottle). A subject is forgotten once it has been quiet, and
    // unlocked, for `forgetAfter` seconds.
    std::optional<LoginFailures> loginFailures(const std::string& subject, double now,
                                               double forgetAfter);
    // Counts one more failure; locks the subject until now + lockSeconds when it reaches
    // lockFailures. True when this failure started a lock.
    bool recordLoginFailure(const std::string& subject, double now, std::int64_t lockFailures,
                            double lockSeconds, double forgetAfter);
    // Forgets the failures of the user and/or peer named (every subject when both are empty).
    std::int64_t clearLoginFailures(const std::string& user, const std::string& peer);

    // Projects, states, processes, packages. The count of changes to processes and packages
    // (deletions, mostly) tells a cache of their ids when to forget them.
    std::int64_t contextChanges();
    std::int64_t createProject(const std::string& name, bool active);
    void setProjectActive(const std::string& name, bool active);
    std::int64_t project(const std::string& name);
    std::vector<std::string> projects(int kind);
    std::int64_t createState(std::int64_t projectId, const std::string& name);
    std::int64_t state(std::int64_t projectId, const std::string& name);
    std::vector<std::string> states(std::int64_t projectId);
    void createProcess(std::int64_t stateId, const std::string& name, const std::string& kind);
    void deleteProcess(std::int64_t stateId, const std::string& name);
    std::vector<std::pair<std::string, std::string>> processes(std::int64_t stateId);
    // Throws notFound unless the state has a process of that name and kind.
    void requireProcess(std::int64_t stateId, const std::string& name, const std::string& kind);
    std::int64_t createPackage(std::int64_t stateId, const std::string& name);
    void deletePackage(std::int64_t stateId, const std::string& name);
    std::int64_t package(std::int64_t stateId, const std::string& name);
    std::vector<std::string> packages(std::int64_t stateId);

    // Repositories and items.
    std::pair<std::int64_t, std::int64_t> createRepository(const std::string& name);
    void linkRepository(const std::string& repository, std::int64_t projectId);
    std::vector<ItemInfo> rootItems(std::int64_t projectId);
    std::vector<ItemInfo> subItems(std::int64_t folderId);
    std::optional<std::int64_t> folder(const std::string& path);
    bool projectSeesFolder(std::int64_t projectId, std::int64_t folderId);
    std::int64_t createFolder(const std::string& path,
                              std::optional<std::int64_t> objid = std::nullopt);
    // Creates the missing folders of a relative path below a folder; false when a name is invalid.
    bool createPath(std::int64_t parentId, const std::string& relativePath);
    std::int64_t createItem(std::int64_t folderId, const std::string& name,
                            std::optional<std::int64_t> objid = std::nullopt);
    std::optional<std::int64_t> liveItem(std::int64_t folderId, const std::string& name);
    std::int64_t fileByPath(const std::string& itemPath);
    bool renameItem(std::int64_t folderId, const std::string& name, const std::string& newName);
    bool removeItem(std::int64_t folderId, const std::string& name);

    // Versions and their bytes.
    std::int64_t storeContent(const std::string& bytes);
    std::string content(std::int64_t contentId);
    std::pair<std::int64_t, std::int64_t>
    addVersion(std::int64_t itemId, const NewVersion& newVersion, std::int64_t contentId);
    std::optional<VersionInfo> version(std::int64_t objid);
    std::vector<VersionInfo> itemVersions(std::int64_t itemId);
    std::optional<VersionInfo> reservation(std::int64_t itemId);
    void makeNormal(std::int64_t versionId, const NewVersion& newVersion, std::int64_t contentId);
    void deleteVersion(std::int64_t versionId);
    std::vector<VersionInfo> chooseVersions(const ChooserQuery& query);

    static bool validName(const std::string& name);
    static std::string now();

private:
    void createSchema();
    std::int64_t insertItem(const std::string& name, std::optional<std::int64_t> parent,
                            std::int64_t repository, int type,
                            const std::optional<std::string>& path,
                            std::optional<std::int64_t> objid);

    Database m_db;
};
