#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

// What a running process needs from its client: server messages out, files out and in.
// Implementations throw when the client goes away, which ends the process.
class ProcessChannel
{
public:
    struct FileAnswer
    {
        bool written = false;
        std::string reason;
        std::string error;
    };
    struct FileData
    {
        bool exists = false;
        std::string bytes;
        std::string error;
    };

    virtual ~ProcessChannel() = default;
    virtual void message(const std::string& key, const std::vector<std::string>& args) = 0;
    virtual FileAnswer sendFile(const nlohmann::json& event, const std::string& bytes) = 0;
    virtual FileData requestFile(std::size_t index, const std::string& path) = 0;
};
