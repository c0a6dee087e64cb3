#pragma once

#include "ProcessChannel.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class Repository;

struct CheckoutRequest
{
    std::string user;
    std::string machine;
    std::int64_t packageId = 0;
    std::vector<std::int64_t> versions;
    std::string viewPath;
    std::string clientDir;
    int mode = 1;
    int pathOption = 1;
    bool replaceFile = false;
};

// Copies chosen versions to the client, reserving them in the update modes. Each reservation is
// committed on its own before its file leaves, so what a message reports is stored. Files stream
// out ahead of their answers; each file's messages follow its answer, in the order of the files.
class CheckoutProcess
{
public:
    CheckoutProcess(Repository& repository, ProcessChannel& channel);

    // 0 success, 3 success with files left as they were, 1 failure.
    int run(const CheckoutRequest& request);

    static bool validMode(int mode) { return mode >= 1 && mode <= 5; }
    static std::string relativePath(const std::string& folderPath, const std::string& name,
                                    const std::string& viewPath, int pathOption);

private:
    enum class Outcome
    {
        Done,
        Left,
        Failed
    };
    // A file to send (and, once sent, to hear back about).
    struct OutgoingFile
    {
        std::string itemPath;
        std::string versionName;
        std::string localPath;
        std::string destination; // machine, two backslashes, local path
        std::int64_t reservationId = 0;
        bool mayLeave = false; // a copy that may be left as it is
        nlohmann::json event;
        std::string bytes;
    };
    // What one version comes to before anything goes to the client: a file, or an outcome.
    struct Prepared
    {
        bool send = false;
        OutgoingFile file;
        Outcome outcome = Outcome::Done;
        std::string key;
        std::vector<std::string> args;
    };

    Prepared prepare(const CheckoutRequest& request, std::int64_t versionId);
    bool heldHere(const CheckoutRequest& request, std::int64_t itemId,
                  const std::string& localPath);
    // Reports an outcome, after those of every file sent before.
    void report(Outcome outcome, const std::string& key, const std::vector<std::string>& args);
    void finish(const OutgoingFile& file, const ProcessChannel::FileAnswer& answer);
    // Handles the answers that have arrived, and waits for more while over `keep` files are out.
    void takeAnswers(std::size_t keep);

    Repository& m_repository;
    ProcessChannel& m_channel;
    std::deque<OutgoingFile> m_sent; // event and bytes dropped once sent
    bool m_left = false;
    bool m_failed = false;
};
