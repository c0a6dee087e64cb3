#include "RepositoryImport.h"

#include "BrokerError.h"
#include "Repository.h"
#include "Transaction.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

RepositoryImport::RepositoryImport(Repository& repository, std::string user)
    : m_repository(repository), m_user(std::move(user))
{
}

std::pair<std::size_t, std::size_t> RepositoryImport::run(const std::string& localDir,
                                                          const std::string& name,
                                                          const std::vector<std::string>& projects)
{
    if (!fs::is_directory(localDir))
        throw BrokerError("notFound", "no folder " + localDir);
    Transaction transaction(m_repository.db());
    m_repository.createRepository(name);
    for (const std::string& project : projects)
        m_repository.linkRepository(name, m_repository.project(project));
    importFolder(localDir, "\\" + name);
    transaction.commit();
    return {m_folders, m_files};
}

void RepositoryImport::importFolder(const std::string& localDir, const std::string& viewPath)
{
    std::vector<fs::directory_entry> folders, files;
    for (const auto& entry : fs::directory_iterator(localDir))
        (entry.is_directory() ? folders : files).push_back(entry);
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    const std::int64_t folderId = *m_repository.folder(viewPath);
    for (const auto& file : files)
    {
        if (!file.is_regular_file())
            continue;
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        NewVersion newVersion;
        newVersion.modifier = m_user;
        newVersion.description = "Imported";
        const std::int64_t item =
            m_repository.createItem(folderId, file.path().filename().string());
        m_repository.addVersion(item, newVersion, m_repository.storeContent(bytes));
        ++m_files;
    }
    for (const auto& folder : folders)
    {
        const std::string path = viewPath + "\\" + folder.path().filename().string();
        m_repository.createFolder(path);
        ++m_folders;
        importFolder(folder.path().string(), path);
    }
}
