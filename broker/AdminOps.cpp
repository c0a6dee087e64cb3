#include "AdminOps.h"

#include "BrokerError.h"
#include "Repository.h"
#include "RequestFields.h"
#include "Transaction.h"

std::int64_t AdminOps::packageOf(const nlohmann::json& request)
{
    const auto names = RequestFields(request).texts("package");
    if (names.empty())
        return 0;
    if (names.size() != 3)
        throw BrokerError("protocol", "field \"package\" must name project, state and package");
    const std::int64_t stateId = m_repository.state(m_repository.project(names[0]), names[1]);
    return m_repository.package(stateId, names[2]);
}

nlohmann::json AdminOps::run(const std::string& op, const nlohmann::json& request,
                             const std::string& payload)
{
    const RequestFields f(request);
    Repository& r = m_repository;
    nlohmann::json reply = nlohmann::json::object();
    Transaction transaction(r.db());
    if (op == "createUser")
    {
        r.createUser(f.text("user"), f.text("password"), f.flag("admin", false));
    }
    else if (op == "deleteUser")
    {
        r.deleteUser(f.text("user"));
    }
    else if (op == "createProject")
    {
        r.createProject(f.text("project"), f.flag("active", true));
    }
    else if (op == "setProjectActive")
    {
        r.setProjectActive(f.text("project"), f.flag("active", true));
    }
    else if (op == "createState")
    {
        r.createState(r.project(f.text("project")), f.text("state"));
    }
    else if (op == "createProcess")
    {
        r.createProcess(r.state(r.project(f.text("project")), f.text("state")), f.text("name"),
                        f.text("kind"));
    }
    else if (op == "deleteProcess")
    {
        r.deleteProcess(r.state(r.project(f.text("project")), f.text("state")), f.text("name"));
    }
    else if (op == "createPackage")
    {
        r.createPackage(r.state(r.project(f.text("project")), f.text("state")), f.text("package"));
    }
    else if (op == "deletePackage")
    {
        r.deletePackage(r.state(r.project(f.text("project")), f.text("state")), f.text("package"));
    }
    else if (op == "createRepository")
    {
        const auto [repository, root] = r.createRepository(f.text("repository"));
        for (const std::string& project : f.texts("projects"))
            r.linkRepository(f.text("repository"), r.project(project));
        reply = {{"repositobjid", repository}, {"rootobjid", root}};
    }
    else if (op == "linkRepository")
    {
        r.linkRepository(f.text("repository"), r.project(f.text("project")));
    }
    else if (op == "createFolder")
    {
        reply["objid"] = r.createFolder(f.text("path"), f.optionalInteger("objid"));
    }
    else if (op == "createItem")
    {
        const auto folder = r.folder(f.text("folder"));
        if (!folder)
            throw BrokerError("notFound", "no folder " + f.text("folder"));
        const std::int64_t item = r.createItem(*folder, f.text("name"), f.optionalInteger("objid"));
        reply["objid"] = item;
        if (!f.flag("noVersion", false))
        {
            NewVersion newVersion;
            newVersion.modifier = f.text("user", "harvest");
            newVersion.packageId = packageOf(request);
            newVersion.description = f.optionalText("description");
            newVersion.modified = f.optionalText("modified");
            reply["versionobjid"] = r.addVersion(item, newVersion, r.storeContent(payload)).first;
        }
    }
    else if (op == "addVersion")
    {
        NewVersion newVersion;
        newVersion.status = f.text("status", "N");
        newVersion.modifier = f.text("user");
        newVersion.packageId = packageOf(request);
        newVersion.description = f.optionalText("description");
        newVersion.modified = f.optionalText("modified");
        if (newVersion.status == "R")
        {
            newVersion.machine = f.text("machine");
            newVersion.clientPath = f.text("clientPath");
        }
        const auto [id, number] =
            r.addVersion(r.fileByPath(f.text("itemPath")), newVersion, r.storeContent(payload));
        reply = {{"versionobjid", id}, {"version", std::to_string(number)}};
    }
    else if (op == "reserve")
    {
        const std::int64_t item = r.fileByPath(f.text("itemPath"));
        const auto versions = r.itemVersions(item);
        if (versions.empty())
            throw BrokerError("notFound", "the item has no version to reserve");
        NewVersion newVersion;
        newVersion.status = "R";
        newVersion.modifier = f.text("user");
        newVersion.packageId = packageOf(request);
        newVersion.machine = f.text("machine");
        newVersion.clientPath = f.text("clientPath");
        const auto [id, number] = r.addVersion(item, newVersion, versions.back().contentId);
        reply = {{"versionobjid", id}, {"version", std::to_string(number)}};
    }
    else if (op == "deleteVersion")
    {
        r.deleteVersion(f.integer("versionobjid"));
    }
    else if (op == "removeItem")
    {
        const std::string path = f.text("itemPath");
        const std::size_t cut = path.rfind('\\');
        const auto folder =
            cut == std::string::npos || cut == 0 ? std::nullopt : r.folder(path.substr(0, cut));
        if (!folder || !r.removeItem(*folder, path.substr(cut + 1)))
            throw BrokerError("notFound", "no item " + path);
    }
    else if (op == "clearLoginFailures")
    {
        reply["cleared"] = r.clearLoginFailures(f.text("user", ""), f.text("peer", ""));
    }
    else
    {
        throw BrokerError("protocol", "unknown admin op " + op);
    }
    transaction.commit();
    return reply;
}
