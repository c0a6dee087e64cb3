#pragma once

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

#include "HSDK.h"

// A logged-in SDK against the broker that the test runner started with the sample repository.
class HsdkFixture : public ::testing::Test
{
public:
    static bool HasBroker();
    // A new empty folder below the temporary folder (Wine reuses process ids between runs).
    static std::string NewFolder();
    // Logs in with the context QXP / Development / QXP-001.
    static void LogIn(CaHarvest& harvest, const char* user, const char* password,
                      const char* broker = "localhost");
    // The text of the CaException that the call throws, or "no failure".
    static std::string FailureOf(const std::function<void()>& call);

protected:
    void SetUp() override;
    void TearDown() override { m_harvest.Logout(); }

    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& bytes);
    static bool IsReadOnly(const std::string& path);
    static std::string ComputerName();
    static std::vector<std::string> Names(const CaContainer& container, const char* key);

    CaHarvest m_harvest;
};

// One server message as a callback received it.
struct ReceivedMessage
{
    int index;
    void* process;
    std::string key;
    std::vector<std::string> args;
};

// Collects the messages of the process that runs next.
struct MessageSink
{
    static void OnMessage(int index, void* process, void* context, CaContainer* message);
    static inline std::vector<ReceivedMessage> s_messages;
};
