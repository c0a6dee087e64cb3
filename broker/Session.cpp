#include "Session.h"

#include "AdminOps.h"
#include "BrokerError.h"
#include "CheckinProcess.h"
#include "CheckoutProcess.h"
#include "FrameSocket.h"
#include "LoginThrottle.h"
#include "ReadOnlyQuery.h"
#include "RequestFields.h"
#include "Transaction.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <optional>

using nlohmann::json;

namespace
{

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

// A login that must wait: the server holds the request (without a thread) and serves it again.
struct HoldLogin
{
    double seconds;
};

// A login refused by throttling, without checking the password.
struct Throttled
{
    double seconds;
};

} // namespace

WorkerDatabases::WorkerDatabases(const std::string& dataDir)
    : m_dataDir(dataDir), m_repository(dataDir, Repository::Open::Existing)
{
}

Database& WorkerDatabases::readOnly()
{
    if (!m_readOnly)
        m_readOnly = std::make_unique<Database>(Repository::databasePath(m_dataDir), true);
    return *m_readOnly;
}

Session::Session(WorkerDatabases& databases, LoginThrottle& throttle, Connection& connection)
    : m_databases(databases), m_repository(databases.repository()), m_throttle(throttle),
      m_connection(connection)
{
}

Session::Outcome Session::serve(const RawFrame& frame, bool released)
{
    json header;
    json reply;
    std::string op;
    if (!FrameSocket::parseHeader(frame.header, header) || !header.contains("op") ||
        !header["op"].is_string())
    {
        reply = failure("protocol", "a request is a JSON object with a string \"op\"");
    }
    else
    {
        op = header["op"].get<std::string>();
        try
        {
            reply = handle(op, header, frame.payload, released);
            reply["ok"] = true;
        }
        catch (const BrokerError& e)
        {
            reply = failure(e.code(), e.what());
        }
        catch (const HoldLogin& hold)
        {
            return {std::string(), std::max(hold.seconds, 0.001)};
        }
        catch (const Throttled& refused)
        {
            reply = failure("throttled", "too many failed logins; try again later");
            reply["retryAfter"] = static_cast<std::int64_t>(std::ceil(refused.seconds));
        }
        catch (const ConnectionLost&)
        {
            throw;
        }
        catch (const std::exception& e)
        {
            reply = failure("internal", e.what());
        }
    }
    flushMessages();
    return {encodeReply(op, reply), 0};
}

std::string Session::encodeReply(const std::string& op, const json& reply)
{
    std::string text = FrameSocket::headerText(reply);
    const std::size_t limit = FrameLimits::session().maxHeader;
    if (text.size() > limit)
    {
        // Never truncated: a reply over the frame limit becomes an error.
        text = FrameSocket::headerText(failure(op == "sql" ? "sql" : "internal",
                                               "the result is larger than the 16 MiB reply limit"));
    }
    return FrameSocket::frameHead(text, 0);
}

json Session::handle(const std::string& op, const json& request, const std::string& payload,
                     bool released)
{
    const RequestFields f(request);
    if (!payload.empty() && op.rfind("admin.", 0) != 0)
        throw BrokerError("protocol", "this request takes no payload");
    if (op == "login")
        return login(f, released);
    if (op == "ping")
        return json::object();
    if (!m_connection.loggedIn)
        throw BrokerError("login", "log in first");
    if (op == "logout")
    {
        m_connection.closeAfterWrite = true;
        return json::object();
    }
    if (const auto reply = query(op, f))
        return *reply;
    if (op == "sql")
        return ReadOnlyQuery(m_databases.readOnly()).run(f.text("statement"));
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
        if (!m_connection.admin)
            throw BrokerError("forbidden", "only an administrator may do that");
        return AdminOps(m_repository).run(op.substr(6), request, payload);
    }
    throw BrokerError("protocol", "unknown op " + op);
}

json Session::login(const RequestFields& f, bool released)
{
    const std::string user = f.text("user");
    const std::string password = f.text("password");
    const std::string machine = f.text("machine", "");
    const std::string& peer = m_connection.peer;
    const LoginThrottle::Decision decision = m_throttle.admit(m_repository, user, peer, released);
    if (decision.kind == LoginThrottle::Decision::Hold)
        throw HoldLogin{decision.seconds};
    if (decision.kind == LoginThrottle::Decision::Refuse)
        throw Throttled{decision.seconds};
    std::optional<bool> admin;
    try
    {
        admin = m_repository.authenticate(user, password);
    }
    catch (...)
    {
        m_throttle.finish(m_repository, user, peer, false);
        throw;
    }
    m_throttle.finish(m_repository, user, peer, admin.has_value());
    if (!admin)
        throw BrokerError("auth", "unknown user or wrong password");
    m_connection.admin = *admin;
    m_connection.user = user;
    m_connection.machine = machine;
    m_connection.decoder.setLimits(FrameLimits::session());
    m_connection.loggedIn = true;
    return {{"user", user}, {"admin", *admin}};
}

std::optional<json> Session::query(const std::string& op, const RequestFields& f)
{
    static const char* const queries[] = {"projects", "states", "processes", "packages",
                                          "context",  "items",  "subItems",  "chooseVersions"};
    if (std::find(std::begin(queries), std::end(queries), op) == std::end(queries))
        return std::nullopt;
    Transaction snapshot(m_repository.db(), Transaction::Kind::Read);
    m_connection.contexts.refresh(m_repository);
    if (op == "projects")
        return json{{"names", m_repository.projects(smallInt(f, "kind", 0))}};
    if (op == "states")
        return json{{"names", m_repository.states(context(f, false, false).project)}};
    if (op == "processes")
    {
        json list = json::array();
        for (const auto& [name, kind] : m_repository.processes(context(f, true, false).state))
            list.push_back({{"name", name}, {"kind", kind}});
        return json{{"processes", list}};
    }
    if (op == "packages")
        return json{{"names", m_repository.packages(context(f, true, false).state)}};
    if (op == "context")
    {
        context(f, f.optionalText("state").has_value(), f.optionalText("package").has_value());
        return json::object();
    }
    if (op == "items")
        return json{{"items", itemsJson(m_repository.rootItems(context(f, false, false).project))}};
    if (op == "subItems")
        return json{{"items", itemsJson(m_repository.subItems(f.integer("objid")))}};
    return chooseVersions(f);
}

Session::Context Session::context(const RequestFields& f, bool needState, bool needPackage)
{
    ContextCache& cache = m_connection.contexts;
    Context c;
    c.project = cache.project(m_repository, f.text("project"));
    if (needState || needPackage)
        c.state = cache.state(m_repository, c.project, f.text("state"));
    if (needPackage)
        c.package = cache.package(m_repository, c.state, f.text("package"));
    return c;
}

Session::Context Session::processContext(const RequestFields& f, bool needPackage, const char* kind)
{
    // Looked up in a snapshot that ends before the process takes its own transactions.
    Transaction snapshot(m_repository.db(), Transaction::Kind::Read);
    m_connection.contexts.refresh(m_repository);
    const Context c = context(f, true, needPackage);
    m_connection.contexts.requireProcess(m_repository, c.state, f.text("process"), kind);
    return c;
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
    const Context c =
        processContext(f, reserving || f.optionalText("package").has_value(), "checkout");
    r.user = m_connection.user;
    r.machine = m_connection.machine;
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
    const Context c = processContext(f, f.optionalText("package").has_value(), "checkin");
    CheckinRequest r;
    r.user = m_connection.user;
    r.machine = m_connection.machine;
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
    processContext(f, false, "checkin");
    Transaction transaction(m_repository.db());
    const auto parent = m_repository.folder(f.text("parentPath"));
    if (!parent || !m_repository.createPath(*parent, f.text("path", "")))
        return {{"result", 1}};
    transaction.commit();
    return {{"result", 0}};
}

json Session::deleteVersion(const RequestFields& f)
{
    processContext(f, false, "deleteversion");
    int deleted = 0;
    for (const std::int64_t id : f.integers("versions"))
    {
        Transaction transaction(m_repository.db());
        const auto v = m_repository.version(id);
        if (!v || v->status != "R" || v->modifier != m_connection.user)
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
    processContext(f, false, rename ? "renameitem" : "removeitem");
    const std::string itemPath = f.text("itemPath");
    const std::string name = f.text("name");
    bool done = false;
    {
        Transaction transaction(m_repository.db());
        const auto folder = m_repository.folder(itemPath);
        done = folder && (rename ? m_repository.renameItem(*folder, name, f.text("newName"))
                                 : m_repository.removeItem(*folder, name));
        if (done)
            transaction.commit();
    }
    if (!done)
    {
        message("HSRV_E_MESSAGE",
                {(rename ? "Cannot rename " : "Cannot remove ") + itemPath + "\\" + name});
        return {{"result", 1}};
    }
    return {{"result", 0}};
}

bool Session::inTransaction() const
{
    return sqlite3_get_autocommit(m_repository.db().handle()) == 0;
}

void Session::flushMessages()
{
    for (const auto& [key, args] : m_pending)
        sendFrame(m_connection, {{"event", "message"}, {"key", key}, {"args", args}});
    m_pending.clear();
}

void Session::message(const std::string& key, const std::vector<std::string>& args)
{
    // Inside a write transaction nothing goes to the peer: a peer that does not read would hold
    // the write lock that every other session needs.
    m_pending.emplace_back(key, args);
    if (!inTransaction())
        flushMessages();
}

bool Session::receiveDuringProcess(const char* expectedOp, bool wait, json& header,
                                   std::string& payload)
{
    RawFrame frame;
    if (wait)
        receiveFrame(m_connection, frame);
    else if (!pollFrame(m_connection, frame))
        return false;
    if (!FrameSocket::parseHeader(frame.header, header) || header.value("op", json()) != expectedOp)
        throw ConnectionLost{};
    payload = std::move(frame.payload);
    return true;
}

void Session::sendDuringProcess(const json& event, const std::string& bytes)
{
    if (inTransaction())
        throw BrokerError("internal", "a file exchange cannot run inside a transaction");
    flushMessages();
    sendFrame(m_connection, event, bytes);
}

void Session::sendFile(const json& event, const std::string& bytes)
{
    sendDuringProcess(event, bytes);
}

std::optional<ProcessChannel::FileAnswer> Session::fileAnswer(bool wait)
{
    json answer;
    std::string payload;
    if (!receiveDuringProcess("fileDone", wait, answer, payload))
        return std::nullopt;
    try
    {
        const RequestFields f(answer);
        return FileAnswer{f.flag("written", false), f.text("reason", ""), f.text("error", "")};
    }
    catch (const BrokerError&)
    {
        throw ConnectionLost{};
    }
}

void Session::askFile(std::size_t index, const std::string& path)
{
    sendDuringProcess({{"event", "send"}, {"index", index}, {"path", path}}, std::string());
}

ProcessChannel::FileData Session::receiveFile(std::size_t index)
{
    FileData data;
    json answer;
    receiveDuringProcess("file", true, answer, data.bytes);
    try
    {
        const RequestFields f(answer);
        if (f.integer("index") != static_cast<std::int64_t>(index))
            throw ConnectionLost{};
        data.exists = f.flag("exists", false);
        data.error = f.text("error", "");
    }
    catch (const BrokerError&)
    {
        throw ConnectionLost{};
    }
    return data;
}
