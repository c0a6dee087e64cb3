#include "AdminOps.h"
#include "BrokerError.h"
#include "RepositoryImport.h"
#include "Repository.h"
#include "SampleRepository.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sqlite3.h>

namespace
{

const std::map<std::string, const char*> Listings = {
    {"users", "SELECT name, CASE admin WHEN 0 THEN '' ELSE 'admin' END FROM users ORDER BY id"},
    {"projects",
     "SELECT name, CASE active WHEN 0 THEN 'inactive' ELSE 'active' END FROM projects ORDER BY id"},
    {"states", "SELECT p.name, s.name FROM states s JOIN projects p ON p.id = s.project ORDER BY "
               "p.id, s.position"},
    {"processes",
     "SELECT p.name, s.name, c.name, c.kind FROM processes c JOIN states s ON s.id = c.state "
     "JOIN projects p ON p.id = s.project ORDER BY p.id, s.position, c.id"},
    {"packages", "SELECT p.name, s.name, k.name FROM packages k JOIN states s ON s.id = k.state "
                 "JOIN projects p ON p.id = s.project ORDER BY p.id, s.position, k.id"},
    {"repositories",
     "SELECT r.id, r.name, r.root, coalesce(group_concat(p.name, ','), '') FROM repositories r "
     "LEFT JOIN project_repositories pr ON pr.repository = r.id LEFT JOIN projects p ON "
     "p.id = pr.project GROUP BY r.id ORDER BY r.id"},
    {"items", "SELECT i.id, i.type, coalesce(i.path, f.path || '\\' || i.name) FROM items i LEFT "
              "JOIN items f "
              "ON f.id = i.parent WHERE i.removed = 0 ORDER BY i.id"},
    {"logins", "SELECT subject, failures, datetime(last, 'unixepoch'), CASE WHEN locked_until > "
               "(julianday('now') - 2440587.5) * 86400.0 THEN 'locked until ' || "
               "datetime(locked_until, 'unixepoch') ELSE '' END "
               "FROM login_failures ORDER BY subject"},
    {"versions",
     "SELECT versionobjid, itemobjid, mappedversion, versionstatus, modifier, modifiedtime, "
     "coalesce(packagename, ''), coalesce(clientmachine, ''), coalesce(clientpath, '') "
     "FROM harversions ORDER BY versionobjid"},
};

void list(Repository& repository, const std::string& what)
{
    const auto listing = Listings.find(what);
    if (listing == Listings.end())
        throw BrokerError("invalid", "nothing to list called " + what);
    Statement s = repository.db().prepare(listing->second);
    const int columns = sqlite3_column_count(s.handle());
    while (s.step())
    {
        for (int i = 0; i < columns; ++i)
            std::printf("%s%s", i ? "\t" : "", s.text(i).c_str());
        std::printf("\n");
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw BrokerError("notFound", "cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"harvadm: administers the repository database of harbroker directly"};
    app.require_subcommand(1);
    std::string dataDir;
    app.add_option("--data", dataDir, "folder of the repository database")->required();

    app.add_subcommand("sample", "create the sample repository in an empty database");

    auto* op = app.add_subcommand(
        "op", "run one administrative request, as an admin user could over the wire");
    std::string opName, opJson = "{}", payloadFile;
    op->add_option("name", opName, "request name without \"admin.\" (createFolder, reserve, ...)")
        ->required();
    op->add_option("json", opJson, "request fields as a JSON object");
    op->add_option("--payload", payloadFile, "file whose bytes are the request's payload");

    auto* import = app.add_subcommand("import", "import a local folder tree as a new repository");
    std::string importDir, importName, importUser = "harvest";
    std::vector<std::string> importProjects;
    import->add_option("folder", importDir, "local folder")->required();
    import->add_option("repository", importName, "repository name")->required();
    import->add_option("--project", importProjects,
                       "project that sees the repository (repeatable)");
    import->add_option("--user", importUser, "modifier of the imported versions")
        ->capture_default_str();

    auto* listing = app.add_subcommand("list", "list users, projects, states, processes, packages, "
                                               "repositories, items, versions or logins (failed "
                                               "logins the broker counts)");
    std::string listWhat;
    listing->add_option("what", listWhat)->required();

    CLI11_PARSE(app, argc, argv);
    try
    {
        Repository repository(dataDir);
        if (app.got_subcommand("sample"))
        {
            // A sample is scratch data made before every test process: speed over durability.
            repository.db().exec("PRAGMA synchronous=OFF");
            SampleRepository::create(repository);
        }
        else if (app.got_subcommand(op))
        {
            const auto request = nlohmann::json::parse(opJson, nullptr, false);
            if (!request.is_object())
                throw BrokerError("protocol", "the request must be a JSON object");
            const std::string payload = payloadFile.empty() ? std::string() : readFile(payloadFile);
            std::cout << AdminOps(repository).run(opName, request, payload).dump() << "\n";
        }
        else if (app.got_subcommand(import))
        {
            const auto counts =
                RepositoryImport(repository, importUser).run(importDir, importName, importProjects);
            std::printf("imported %zu folders and %zu files\n", counts.first, counts.second);
        }
        else
        {
            list(repository, listWhat);
        }
    }
    catch (const BrokerError& e)
    {
        std::fprintf(stderr, "harvadm: %s (%s)\n", e.what(), e.code().c_str());
        return 1;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "harvadm: %s\n", e.what());
        return 1;
    }
}
