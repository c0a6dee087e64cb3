#include "Session.h"

#include "AdminOps.h"
#include "BrokerError.h"
#include "CheckinProcess.h"
#include "CheckoutProcess.h"
#include "ReadOnlyQuery.h"
#include "RequestFields.h"
#include "Transaction.h"

using nlohmann::json;

namespace
{

// The client broke the exchange of a running process; the connection cannot continue.
struct ConnectionLost
{
};

json nullable(const std::optional<std::string>& text)
{
    return text ? json(*text) : json(nullptr);
}

json versionJson(const VersionInfo& v)
{
    return {{"objid", v.objid},
            {"itemobjid", v.itemobjid},
            {"name", v.name},
            {"version", v.version()},
            {"status", v.status},
            {"modifier", v.modifier},
            {"modified", v.modified},
            {"package", nullable(v.package)},
            {"description", nullable(v.description)},
            {"clientMachine", v.status == "R" ? nullable(v.machine) : json(nullptr)},
            {"clientPath", v.status == "R" ? nullable(v.clientPath) : json(nullptr)},
            {"parentPath", v.parentPath},
            {"fullPath", v.itemPath()},
            {"size", v.size}};
}

json itemsJson(const std::vector<ItemInfo>& items)
{
    json list = json::array();
    for (const ItemInfo& item : items)
        list.push_back({{"objid", item.objid},
                        {"name", item.name},
                        {"path", item.path},
                        {"repositobjid", item.repositobjid},
                        {"repository", item.repository},
                        {"isPath", item.isPath}});
    return list;
}

json failure(const std::string& code, const std::string& text)
{
    return {{"ok", false}, {"code", code}, {"error", text}};
}

int smallInt(const RequestFields& f, const char* name, std::int64_t fallback)
{
    return static_cast<int>(f.integer(name, fallback));
}

} // namespace

Session::Session(int fd, const std::string& dataDir)
    : m_socket(fd, FrameLimits::beforeLogin()), m_dataDir(dataDir), m_repository(dataDir)
{
}

void Session::run()
{
    RawFrame frame;
    while (!m_closing && m_socket.receive(frame))
    {
        json header;
        json reply;
        if (!FrameSocket::parseHeader(frame.header, header) || !header.contains("op") ||
            !header["op"].is_string())
        {
            reply = failure("protocol", "a request is a JSON object with a string \"op\"");
        }
        else
        {
            try
            {
                reply = handle(header["op"].get<std::string>(), header, frame.payload);
                reply["ok"] = true;
            }
            catch (const BrokerError& e)
            {
                reply = failure(e.code(), e.what());
            }
            catch (const ConnectionLost&)
            {
                return;
            }
            catch (const std::exception& e)
            {
                reply = failure("internal", e.what());
            }
        }
        if (!m_socket.send(reply))
            return;
    }
}

json Session::handle(const std::string& op, const json& request, const std::string& payload)
{
    const RequestFields f(request);
    if (op == "login")
        return login(f);
    if (op == "ping")
        return json::object();
    if (!m_loggedIn)
        throw BrokerError("login", "log in first");
    if (!payload.empty() && op.rfind("admin.", 0) != 0)
        throw BrokerError("protocol", "this request takes no payload");
    if (op == "logout")
    {
        m_closing = true;
        return json::object();
    }
    if (op == "projects")
        return {{"names", m_repository.projects(smallInt(f, "kind", 0))}};
    if (op == "states")
        return {{"names", m_repository.states(context(f, false, false).project)}};
    if (op == "processes")
    {
        json list = json::array();
        for (const auto& [name, kind] : m_repository.processes(context(f, true, false).state))
            list.push_back({{"name", name}, {"kind", kind}});
        return {{"processes", list}};
    }
    if (op == "packages")
        return {{"names", m_repository.packages(context(f, true, false).state)}};
    if (op == "context")
    {
        context(f, f.optionalText("state").has_value(), f.optionalText("package").has_value());
        return json::object();
    }
    if (op == "items")
        return {{"items", itemsJson(m_repository.rootItems(context(f, false, false).project))}};
    if (op == "subItems")
        return {{"items", itemsJson(m_repository.subItems(f.integer("objid")))}};
    if (op == "sql")
        return ReadOnlyQuery(readOnly()).run(f.text("statement"));
    if (op == "chooseVersions")
        return chooseVersions(f);
    if (op == "checkout")
        return checkout(f);
    if (op == "checkin")
        return checkin(f);
    if (op == "createPath")
        return createPath(f);
    if (op == "deleteVersion")
        return deleteVersion(f);
    if (op == "renameItem" || op == "removeItem")
        return changeItem(f, op == "renameItem");
    if (op.rfind("admin.", 0) == 0)
    {
        if (!m_admin)
            throw BrokerError("forbidden", "only an administrator may do that");
        return AdminOps(m_repository).run(op.substr(6), request, payload);
    }
    throw BrokerError("protocol", "unknown op " + op);
}

json Session::login(const RequestFields& f)
{
    const std::string user = f.text("user");
    const auto admin = m_repository.authenticate(user, f.text("password"));
    if (!admin)
        throw BrokerError("auth", "unknown user or wrong password");
    m_loggedIn = true;
    m_admin = *admin;
    m_user = user;
    m_machine = f.text("machine", "");
    m_socket.setLimits(FrameLimits::session());
    return {{"user", m_user}, {"admin", m_admin}};
}

Session::Context Session::context(const RequestFields& f, bool needState, bool needPackage)
{
    Context c;
    c.project = m_repository.project(f.text("project"));
    if (needState || needPackage)
        c.state = m_repository.state(c.project, f.text("state"));
    if (needPackage)
        c.package = m_repository.package(c.state, f.text("package"));
    return c;
}

void Session::requireProcess(const RequestFields& f, const Context& c, const char* kind)
{
    m_repository.requireProcess(c.state, f.text("process"), kind);
}

Database& Session::readOnly()
{
    if (!m_readOnly)
        m_readOnly = std::make_unique<Database>(Repository::databasePath(m_dataDir), true);
    return *m_readOnly;
}

json Session::chooseVersions(const RequestFields& f)
{
    ChooserQuery q;
    const bool withPackage = f.optionalText("package").has_value();
    const Context c = context(f, withPackage, withPackage);
    q.projectId = c.project;
    q.packageId = c.package;
    q.parentPath = f.text("parentPath", "");
    q.itemName = f.text("itemName", "");
    q.recursive = f.flag("recursive", false);
    q.versionObjId = f.integer("versionObjId", 0);
    q.versionOption = smallInt(f, "versionOption", 0x100);
    q.branchOption = smallInt(f, "branchOption", 0x111);
    q.statusOption = smallInt(f, "statusOption", 0x11111);
    json list = json::array();
    for (const VersionInfo& v : m_repository.chooseVersions(q))
        list.push_back(versionJson(v));
    return {{"versions", list}};
}

json Session::checkout(const RequestFields& f)
{
    CheckoutRequest r;
    r.mode = smallInt(f, "mode", 0);
    if (!CheckoutProcess::validMode(r.mode))
        throw BrokerError("invalid", "unknown check-out mode");
    const bool reserving = r.mode == 2 || r.mode == 3;
    const Context c = context(f, true, reserving || f.optionalText("package").has_value());
    requireProcess(f, c, "checkout");
    r.user = m_user;
    r.machine = m_machine;
    r.packageId = c.package;
    r.versions = f.integers("versions");
    r.viewPath = f.text("viewPath", "");
    r.clientDir = f.text("clientDir");
    r.pathOption = smallInt(f, "pathOption", 1);
    if (r.pathOption < 1 || r.pathOption > 3)
        throw BrokerError("invalid", "unknown path option");
    r.replaceFile = f.flag("replaceFile", false);
    return {{"result", CheckoutProcess(m_repository, *this).run(r)}};
}

json Session::checkin(const RequestFields& f)
{
    const Context c = context(f, true, f.optionalText("package").has_value());
    requireProcess(f, c, "checkin");
    CheckinRequest r;
    r.user = m_user;
    r.machine = m_machine;
    r.packageId = c.package;
    r.viewPath = f.text("viewPath");
    r.clientDir = f.text("clientDir");
    r.mode = smallInt(f, "mode", 0);
    r.itemOption = smallInt(f, "itemOption", 0);
    r.pathOption = smallInt(f, "pathOption", 0);
    r.description = f.optionalText("description");
    if (r.description && r.description->empty())
        r.description.reset();
    r.files = f.texts("files");
    if (!CheckinProcess::validOptions(r))
        throw BrokerError("invalid", "unknown check-in mode or option");
    return {{"result", CheckinProcess(m_repository, *this).run(r)}};
}

json Session::createPath(const RequestFields& f)
{
    requireProcess(f, context(f, true, false), "checkin");
    Transaction transaction(m_repository.db());
    const auto parent = m_repository.folder(f.text("parentPath"));
    if (!parent || !m_repository.createPath(*parent, f.text("path", "")))
        return {{"result", 1}};
    transaction.commit();
    return {{"result", 0}};
}

json Session::deleteVersion(const RequestFields& f)
{
    requireProcess(f, context(f, true, false), "deleteversion");
    int deleted = 0;
    for (const std::int64_t id : f.integers("versions"))
    {
        Transaction transaction(m_repository.db());
        const auto v = m_repository.version(id);
        if (!v || v->status != "R" || v->modifier != m_user)
            continue;
        m_repository.deleteVersion(id);
        transaction.commit();
        ++deleted;
        message("HSRV_I_MESSAGE", {"Version " + v->itemPath() + ";" + v->version() + " deleted"});
    }
    return {{"result", deleted > 0 ? 0 : 1}};
}

json Session::changeItem(const RequestFields& f, bool rename)
{
    requireProcess(f, context(f, true, false), rename ? "renameitem" : "removeitem");
    const std::string itemPath = f.text("itemPath");
    const std::string name = f.text("name");
    Transaction transaction(m_repository.db());
    const auto folder = m_repository.folder(itemPath);
    const bool done = folder && (rename ? m_repository.renameItem(*folder, name, f.text("newName"))
                                        : m_repository.removeItem(*folder, name));
    if (!done)
    {
        message("HSRV_E_MESSAGE",
                {(rename ? "Cannot rename " : "Cannot remove ") + itemPath + "\\" + name});
        return {{"result", 1}};
    }
    transaction.commit();
    return {{"result", 0}};
}

void Session::message(const std::string& key, const std::vector<std::string>& args)
{
    if (!m_socket.send({{"event", "message"}, {"key", key}, {"args", args}}))
        throw ConnectionLost();
}

json Session::receiveDuringProcess(const char* expectedOp, std::string& payload)
{
    RawFrame frame;
    json header;
    if (!m_socket.receive(frame) || !FrameSocket::parseHeader(frame.header, header) ||
        header.value("op", json()) != expectedOp)
        throw ConnectionLost();
    payload = std::move(frame.payload);
    return header;
}

ProcessChannel::FileAnswer Session::sendFile(const json& event, const std::string& bytes)
{
    if (!m_socket.send(event, bytes))
        throw ConnectionLost();
    std::string payload;
    const json answer = receiveDuringProcess("fileDone", payload);
    try
    {
        const RequestFields f(answer);
        return {f.flag("written", false), f.text("reason", ""), f.text("error", "")};
    }
    catch (const BrokerError&)
    {
        throw ConnectionLost();
    }
}

ProcessChannel::FileData Session::requestFile(std::size_t index, const std::string& path)
{
    if (!m_socket.send({{"event", "send"}, {"index", index}, {"path", path}}))
        throw ConnectionLost();
    FileData data;
    const json answer = receiveDuringProcess("file", data.bytes);
    try
    {
        const RequestFields f(answer);
        if (f.integer("index") != static_cast<std::int64_t>(index))
            throw ConnectionLost();
        data.exists = f.flag("exists", false);
        data.error = f.text("error", "");
    }
    catch (const BrokerError&)
    {
        throw ConnectionLost();
    }
    return data;
}
