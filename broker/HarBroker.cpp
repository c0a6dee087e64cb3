#include "Repository.h"
#include "Server.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>

namespace
{

std::chrono::milliseconds milliseconds(double seconds)
{
    return std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 1000 + 0.5));
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"harbroker: the repository server of the Harvest SDK stand-in"};
    std::string dataDir;
    std::string bindAddress = "127.0.0.1";
    int port = Server::DefaultPort;
    ServerConfig config;
    double loginTimeout = 10, idleTimeout = 24 * 3600, stallTimeout = 60;
    app.add_option("--data", dataDir,
                   "folder of the repository database (harvest.db, created when missing)")
        ->required();
    app.add_option("--port", port, "TCP port (0 picks a free one)")->capture_default_str();
    app.add_option("--bind", bindAddress, "IPv4 address to listen on")->capture_default_str();
    app.add_option("--login-timeout", loginTimeout,
                   "seconds a new connection has to complete its login")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--idle-timeout", idleTimeout,
                   "seconds a logged-in connection may stay without a request (0: for ever)")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    app.add_option("--stall-timeout", stallTimeout,
                   "seconds a peer may go without reading what it is sent, or without sending "
                   "the rest of a frame or the answer a running process waits for")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--max-connections", config.maxConnections, "connections open at once")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--max-unauthenticated", config.maxUnauthenticated,
                   "connections waiting for their login at once; a new one closes the oldest")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--workers", config.workers, "most threads serving requests at once")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--login-free-failures", config.throttle.freeFailures,
                   "failed logins of one user name answered without delay (a peer address: 5 "
                   "times as many)")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    app.add_option("--login-delay", config.throttle.delaySeconds,
                   "seconds the next login waits after them; doubles up to 8 times this")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    app.add_option("--login-lock-failures", config.throttle.lockFailures,
                   "failed logins of one user name that refuse it for --login-lock-time (a peer "
                   "address: 5 times as many)")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--login-lock-time", config.throttle.lockSeconds,
                   "seconds a lock lasts, and a quiet user name or address is remembered")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    CLI11_PARSE(app, argc, argv);
    config.loginTimeout = milliseconds(loginTimeout);
    config.idleTimeout = milliseconds(idleTimeout);
    config.stallTimeout = milliseconds(stallTimeout);

    std::signal(SIGPIPE, SIG_IGN);
    try
    {
        {
            Repository schema(dataDir); // creates or upgrades the schema, once
        }
        Server server(dataDir, bindAddress, port, config);
        std::printf("harbroker: serving %s on %s:%d\n", Repository::databasePath(dataDir).c_str(),
                    bindAddress.c_str(), server.port());
        std::fflush(stdout);
        server.run();
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "harbroker: %s\n", e.what());
        return 1;
    }
}
