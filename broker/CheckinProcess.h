#pragma once

#include "ProcessChannel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class Repository;

struct CheckinRequest
{
    std::string user;
    std::string machine;
    std::int64_t packageId = 0;
    std::string viewPath;
    std::string clientDir;
    int mode = 0;
    int itemOption = 0;
    int pathOption = 0;
    std::optional<std::string> description;
    std::vector<std::string> files;
};

// Stores client files as new items or as the new versions of the user's reservations. Each file is
// its own transaction, and its messages go out only after it is committed. The files are asked for
// ahead of their handling, so the client sends them without waiting for the server in between.
class CheckinProcess
{
public:
    CheckinProcess(Repository& repository, ProcessChannel& channel);

    // 0 success, 1 when any file was refused.
    int run(const CheckinRequest& request);

    static bool validOptions(const CheckinRequest& request);

private:
    using Messages = std::vector<std::pair<std::string, std::vector<std::string>>>;
    bool checkIn(const CheckinRequest& request, std::size_t index,
                 const ProcessChannel::FileData& file, Messages& messages);

    Repository& m_repository;
    ProcessChannel& m_channel;
};
