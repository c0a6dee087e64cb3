#pragma once

#include "BrokerClient.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A fresh folder for one test, removed however the test ends.
struct WorkFolder
{
    WorkFolder()
    {
        char pattern[] = "/tmp/broker-work.XXXXXX";
        path = mkdtemp(pattern);
    }
    ~WorkFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// A real harbroker on a fresh data folder holding the sample repository, for one test. Its
// standard error (the broker's log) goes to broker.log in the data folder.
class BrokerProcess
{
public:
    // `options`: more command-line options (deadlines, limits, throttling).
    explicit BrokerProcess(std::vector<std::string> options = {});
    BrokerProcess(const BrokerProcess&) = delete;
    BrokerProcess& operator=(const BrokerProcess&) = delete;
    ~BrokerProcess();

    void start();
    // Ends the broker with the signal and reaps it.
    void stop(int signal);
    int port() const { return m_port; }
    const std::string& dataDir() const { return m_data.path; }
    // What the broker has logged so far.
    std::string log() const;
    // The broker's resident memory in KiB.
    long residentKb() const;

    std::unique_ptr<BrokerClient> client();
    std::unique_ptr<BrokerClient> login(const std::string& user, const std::string& password,
                                        const std::string& machine = "TESTPC");
    // Every row of every table, as text: equal snapshots mean an unchanged database.
    std::string snapshot() const;

    // Runs harvadm on the data folder with the arguments (a shell command line; output dropped).
    int harvadm(const std::string& arguments) const;

private:
    std::vector<std::string> m_options;
    WorkFolder m_data;
    int m_pid = -1;
    int m_port = 0;
};

// A request in the sample's working context (project QXP, state Development, package QXP-001).
inline nlohmann::json qxpRequest(const char* op, nlohmann::json fields = nlohmann::json::object())
{
    fields["op"] = op;
    fields["project"] = "QXP";
    fields["state"] = "Development";
    if (!fields.contains("package"))
        fields["package"] = "QXP-001";
    return fields;
}

inline nlohmann::json checkoutRequest(const std::vector<std::int64_t>& versions,
                                      const std::string& viewPath, const std::string& clientDir,
                                      int mode, bool replace = true)
{
    return qxpRequest("checkout", {{"process", "CheckOut"},
                                   {"versions", versions},
                                   {"viewPath", viewPath},
                                   {"clientDir", clientDir},
                                   {"mode", mode},
                                   {"pathOption", 2},
                                   {"replaceFile", replace}});
}

inline nlohmann::json checkinRequest(const std::vector<std::string>& files,
                                     const std::string& viewPath, const std::string& clientDir,
                                     int mode)
{
    return qxpRequest("checkin", {{"process", "CheckIn"},
                                  {"files", files},
                                  {"viewPath", viewPath},
                                  {"clientDir", clientDir},
                                  {"mode", mode}});
}
