#include "Repository.h"
#include "Server.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    CLI::App app{"harbroker: the repository server of the Harvest SDK stand-in"};
    std::string dataDir;
    std::string bindAddress = "127.0.0.1";
    int port = Server::DefaultPort;
    app.add_option("--data", dataDir,
                   "folder of the repository database (harvest.db, created when missing)")
        ->required();
    app.add_option("--port", port, "TCP port (0 picks a free one)")->capture_default_str();
    app.add_option("--bind", bindAddress, "IPv4 address to listen on")->capture_default_str();
    CLI11_PARSE(app, argc, argv);

    std::signal(SIGPIPE, SIG_IGN);
    try
    {
        Repository schema(dataDir);
        Server server(dataDir, bindAddress, port);
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
