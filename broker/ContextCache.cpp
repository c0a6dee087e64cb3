#include "ContextCache.h"

#include "Repository.h"

void ContextCache::refresh(Repository& repository)
{
    const std::int64_t changes = repository.contextChanges();
    if (changes == m_changes)
        return;
    m_changes = changes;
    m_packages.clear();
    m_processes.clear();
}

void ContextCache::makeRoom()
{
    if (m_projects.size() + m_states.size() + m_packages.size() + m_processes.size() < MostEntries)
        return;
    m_projects.clear();
    m_states.clear();
    m_packages.clear();
    m_processes.clear();
}

std::int64_t ContextCache::project(Repository& repository, const std::string& name)
{
    const auto found = m_projects.find(name);
    if (found != m_projects.end())
        return found->second;
    const std::int64_t id = repository.project(name);
    makeRoom();
    m_projects.emplace(name, id);
    return id;
}

std::int64_t ContextCache::state(Repository& repository, std::int64_t projectId,
                                 const std::string& name)
{
    auto key = std::make_pair(projectId, name);
    const auto found = m_states.find(key);
    if (found != m_states.end())
        return found->second;
    const std::int64_t id = repository.state(projectId, name);
    makeRoom();
    m_states.emplace(std::move(key), id);
    return id;
}

std::int64_t ContextCache::package(Repository& repository, std::int64_t stateId,
                                   const std::string& name)
{
    auto key = std::make_pair(stateId, name);
    const auto found = m_packages.find(key);
    if (found != m_packages.end())
        return found->second;
    const std::int64_t id = repository.package(stateId, name);
    makeRoom();
    m_packages.emplace(std::move(key), id);
    return id;
}

void ContextCache::requireProcess(Repository& repository, std::int64_t stateId,
                                  const std::string& name, const std::string& kind)
{
    auto key = std::make_tuple(stateId, name, kind);
    if (m_processes.count(key))
        return;
    repository.requireProcess(stateId, name, kind);
    makeRoom();
    m_processes.insert(std::move(key));
}
