#include "BrokerProcess.h"

#include "Database.h"
#include "Repository.h"

#include <csignal>
#include <cstring>
#include <sqlite3.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

BrokerProcess::BrokerProcess(std::vector<std::string> options) : m_options(std::move(options))
{
    if (harvadm("sample") != 0)
        throw std::runtime_error("harvadm sample failed");
    start();
}

BrokerProcess::~BrokerProcess()
{
    if (m_pid > 0)
        stop(SIGTERM);
}

int BrokerProcess::harvadm(const std::string& arguments) const
{
    const std::string commandLine =
        std::string(HARVADM_PATH) + " --data " + m_data.path + " " + arguments + " >/dev/null";
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
        const int log = open((m_data.path + "/broker.log").c_str(),
                             O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (log >= 0)
            dup2(log, STDERR_FILENO);
        std::vector<std::string> words = {HARBROKER_PATH, "--data", m_data.path, "--port", "0"};
        words.insert(words.end(), m_options.begin(), m_options.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execv(HARBROKER_PATH, argv.data());
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

std::string BrokerProcess::log() const
{
    std::ifstream in(m_data.path + "/broker.log");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long BrokerProcess::residentKb() const
{
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
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
    Database db(Repository::databasePath(m_data.path), true);
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
