#include "BrokerProcess.h"

#include "Database.h"
#include "Repository.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sqlite3.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

BrokerProcess::BrokerProcess()
{
    char pattern[] = "/tmp/broker-test.XXXXXX";
    m_dataDir = mkdtemp(pattern);
    if (run(std::string(HARVADM_PATH) + " --data " + m_dataDir + " sample") != 0)
        throw std::runtime_error("harvadm sample failed");
    start();
}

BrokerProcess::~BrokerProcess()
{
    if (m_pid > 0)
        stop(SIGTERM);
    std::error_code ignored;
    std::filesystem::remove_all(m_dataDir, ignored);
}

int BrokerProcess::run(const std::string& commandLine)
{
    const int status = std::system(commandLine.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BrokerProcess::start()
{
    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe failed");
    m_pid = fork();
    if (m_pid == 0)
    {
        // A test that dies must not leave its broker behind.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(HARBROKER_PATH, HARBROKER_PATH, "--data", m_dataDir.c_str(), "--port", "0", nullptr);
        _exit(127);
    }
    close(out[1]);
    // The broker names its port on its first line once it listens.
    FILE* lines = fdopen(out[0], "r");
    char line[512] = {};
    const bool started = std::fgets(line, sizeof line, lines) != nullptr;
    std::fclose(lines);
    const char* colon = std::strrchr(line, ':');
    if (!started || !colon)
        throw std::runtime_error("harbroker did not start");
    m_port = std::atoi(colon + 1);
}

void BrokerProcess::stop(int signal)
{
    kill(m_pid, signal);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

std::unique_ptr<BrokerClient> BrokerProcess::client()
{
    return std::make_unique<BrokerClient>("127.0.0.1", m_port);
}

std::unique_ptr<BrokerClient> BrokerProcess::login(const std::string& user,
                                                   const std::string& password,
                                                   const std::string& machine)
{
    auto c = client();
    const auto reply = c->login(user, password, machine);
    if (!reply.value("ok", false))
        throw std::runtime_error("login failed: " + reply.dump());
    return c;
}

std::string BrokerProcess::snapshot() const
{
    Database db(Repository::databasePath(m_dataDir), true);
    std::string all;
    for (const char* table :
         {"users", "projects", "states", "processes", "packages", "repositories",
          "project_repositories", "items", "contents", "versions"})
    {
        Statement s = db.prepare(std::string("SELECT * FROM ") + table + " ORDER BY rowid");
        const int columns = sqlite3_column_count(s.handle());
        while (s.step())
        {
            for (int i = 0; i < columns; ++i)
                all += (s.isNull(i) ? std::string("<null>") : s.text(i)) + "|";
            all += "\n";
        }
    }
    return all;
}
