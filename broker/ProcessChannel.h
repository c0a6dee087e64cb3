#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What a running process needs from its client: server messages out, files out and in. File
// exchanges are pipelined: a process may send several files (or ask for several) before the first
// answer arrives, and the answers come back in the order of the files. Implementations throw when
// the client goes away, which ends the process.
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

    // How many files a process keeps out (or asked for) ahead of their answers: enough that the
    // client never waits for the server between files, few enough that the output log follows
    // the transfer closely.
    static constexpr std::size_t FilesAhead = 64;

    virtual ~ProcessChannel() = default;
    virtual void message(const std::string& key, const std::vector<std::string>& args) = 0;
    // Sends a check-out file; its answer is taken with fileAnswer.
    virtual void sendFile(const nlohmann::json& event, const std::string& bytes) = 0;
    // The answer to the oldest file sent and not answered yet; without `wait` only when it has
    // arrived already.
    virtual std::optional<FileAnswer> fileAnswer(bool wait) = 0;
    // Asks for a check-in file; its data is taken with receiveFile.
    virtual void askFile(std::size_t index, const std::string& path) = 0;
    // The data of the oldest file asked for, which must be the one at `index`.
    virtual FileData receiveFile(std::size_t index) = 0;
};
