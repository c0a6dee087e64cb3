#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class Repository;

// Turns a local folder tree into a new repository: folders before their contents, names sorted,
// every file as version "0".
class RepositoryImport
{
public:
    RepositoryImport(Repository& repository, std::string user);

    // Returns the numbers of folders and files created below the root.
    std::pair<std::size_t, std::size_t> run(const std::string& localDir, const std::string& name,
                                            const std::vector<std::string>& projects);

private:
    void importFolder(const std::string& localDir, const std::string& viewPath);

    Repository& m_repository;
    std::string m_user;
    std::size_t m_folders = 0;
    std::size_t m_files = 0;
};
