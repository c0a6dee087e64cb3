#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ProcessChannel;
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
// committed on its own before its file leaves, so what a message reports is stored.
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
    Outcome checkOut(const CheckoutRequest& request, std::int64_t versionId);
    bool heldHere(const CheckoutRequest& request, std::int64_t itemId,
                  const std::string& localPath);

    Repository& m_repository;
    ProcessChannel& m_channel;
};
