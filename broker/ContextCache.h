#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

class Repository;

// The ids of the context names a session's requests carry again and again (project, state,
// package, the processes it runs), each looked up once per session. Projects and states are
// never deleted; packages and processes may be, by this broker or by harvadm, and each such change
// counts up a number in the database, which empties the cache at the next request.
class ContextCache
{
public:
    // At the start of a request, inside its read transaction.
    void refresh(Repository& repository);

    // As Repository's lookups: notFound when the name does not exist there.
    std::int64_t project(Repository& repository, const std::string& name);
    std::int64_t state(Repository& repository, std::int64_t projectId, const std::string& name);
    std::int64_t package(Repository& repository, std::int64_t stateId, const std::string& name);
    void requireProcess(Repository& repository, std::int64_t stateId, const std::string& name,
                        const std::string& kind);

private:
    // A session that names more than this many contexts is not the library's; it keeps none.
    static constexpr std::size_t MostEntries = 64;
    void makeRoom();
    // The id kept for the key, else the one looked up (and kept).
    template <typename Map, typename Key, typename LookUp>
    std::int64_t remembered(Map& ids, Key key, LookUp lookUp)
    {
        const auto found = ids.find(key);
        if (found != ids.end())
            return found->second;
        const std::int64_t id = lookUp();
        makeRoom();
        ids.emplace(std::move(key), id);
        return id;
    }

    std::int64_t m_changes = -1;
    std::map<std::string, std::int64_t> m_projects;
    std::map<std::pair<std::int64_t, std::string>, std::int64_t> m_states;
    std::map<std::pair<std::int64_t, std::string>, std::int64_t> m_packages;
    std::set<std::tuple<std::int64_t, std::string, std::string>> m_processes;
};
