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
    return remembered(m_projects, name, [&] { return repository.project(name); });
}

std::int64_t ContextCache::state(Repository& repository, std::int64_t projectId,
                                 const std::string& name)
{
    return remembered(m_states, std::make_pair(projectId, name),
                      [&] { return repository.state(projectId, name); });
}

std::int64_t ContextCache::package(Repository& repository, std::int64_t stateId,
                                   const std::string& name)
{
    return remembered(m_packages, std::make_pair(stateId, name),
                      [&] { return repository.package(stateId, name); });
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
