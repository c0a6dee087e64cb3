#pragma once

#include "Database.h"
#include "FrameSocket.h"
#include "ProcessChannel.h"
#include "Repository.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <string>

class RequestFields;

// One client connection: login, then requests served one at a time against the connection's user.
class Session : private ProcessChannel
{
public:
    Session(int fd, const std::string& dataDir);
    void run();

private:
    struct Context
    {
        std::int64_t project = 0;
        std::int64_t state = 0;
        std::int64_t package = 0;
    };

    nlohmann::json handle(const std::string& op, const nlohmann::json& request,
                          const std::string& payload);
    nlohmann::json login(const RequestFields& f);
    Context context(const RequestFields& f, bool needState, bool needPackage);
    void requireProcess(const RequestFields& f, const Context& context, const char* kind);
    nlohmann::json chooseVersions(const RequestFields& f);
    nlohmann::json checkout(const RequestFields& f);
    nlohmann::json checkin(const RequestFields& f);
    nlohmann::json createPath(const RequestFields& f);
    nlohmann::json deleteVersion(const RequestFields& f);
    nlohmann::json changeItem(const RequestFields& f, bool rename);
    Database& readOnly();

    void message(const std::string& key, const std::vector<std::string>& args) override;
    FileAnswer sendFile(const nlohmann::json& event, const std::string& bytes) override;
    FileData requestFile(std::size_t index, const std::string& path) override;
    nlohmann::json receiveDuringProcess(const char* expectedOp, std::string& payload);

    FrameSocket m_socket;
    std::string m_dataDir;
    Repository m_repository;
    std::unique_ptr<Database> m_readOnly;
    bool m_loggedIn = false;
    bool m_admin = false;
    bool m_closing = false;
    std::string m_user;
    std::string m_machine;
};
