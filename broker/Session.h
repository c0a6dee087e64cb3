#pragma once

#include "Connection.h"
#include "Database.h"
#include "ProcessChannel.h"
#include "Repository.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class LoginThrottle;
class RequestFields;

// The database connections of one worker thread, used by every request it serves. Opening them
// takes no lock.
class WorkerDatabases
{
public:
    explicit WorkerDatabases(const std::string& dataDir);
    Repository& repository() { return m_repository; }
    Database& readOnly();

private:
    std::string m_dataDir;
    Repository m_repository;
    std::unique_ptr<Database> m_readOnly;
};

// Serves one request of a connection on a worker thread: login, then requests against the
// connection's user. Never sends to the peer while a write transaction is open: messages produced
// inside one wait until it has ended.
class Session : private ProcessChannel
{
public:
    Session(WorkerDatabases& databases, LoginThrottle& throttle, Connection& connection);

    struct Outcome
    {
        std::string reply;      // the whole reply frame, to be sent by the server
        double holdSeconds = 0; // > 0: no reply yet; serve the frame again after this delay
    };
    // `released`: the frame was held once already. Throws ConnectionLost.
    Outcome serve(const RawFrame& frame, bool released);

private:
    struct Context
    {
        std::int64_t project = 0;
        std::int64_t state = 0;
        std::int64_t package = 0;
    };

    nlohmann::json handle(const std::string& op, const nlohmann::json& request,
                          const std::string& payload, bool released);
    nlohmann::json login(const RequestFields& f, bool released);
    // The requests that only read: served in one snapshot. Empty for any other op.
    std::optional<nlohmann::json> query(const std::string& op, const RequestFields& f);
    Context context(const RequestFields& f, bool needState, bool needPackage);
    // The context of a process, which must be of `kind`.
    Context processContext(const RequestFields& f, bool needPackage, const char* kind);
    nlohmann::json chooseVersions(const RequestFields& f);
    nlohmann::json checkout(const RequestFields& f);
    nlohmann::json checkin(const RequestFields& f);
    nlohmann::json createPath(const RequestFields& f);
    nlohmann::json deleteVersion(const RequestFields& f);
    nlohmann::json changeItem(const RequestFields& f, bool rename);
    std::string encodeReply(const std::string& op, const nlohmann::json& reply);

    bool inTransaction() const;
    void flushMessages();
    void message(const std::string& key, const std::vector<std::string>& args) override;
    void sendFile(const nlohmann::json& event, const std::string& bytes) override;
    std::optional<FileAnswer> fileAnswer(bool wait) override;
    void askFile(std::size_t index, const std::string& path) override;
    FileData receiveFile(std::size_t index) override;
    void sendDuringProcess(const nlohmann::json& event, const std::string& bytes);
    // The answer a process waits for; false when it has not arrived and `wait` is false.
    bool receiveDuringProcess(const char* expectedOp, bool wait, nlohmann::json& header,
                              std::string& payload);

    WorkerDatabases& m_databases;
    Repository& m_repository;
    LoginThrottle& m_throttle;
    Connection& m_connection;
    std::vector<std::pair<std::string, std::vector<std::string>>> m_pending;
};
