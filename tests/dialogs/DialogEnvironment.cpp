#include <windows.h>

#include <gtest/gtest.h>

#include "DialogTesting.h"

// Every dialog test process starts from the same stored configuration, read by the agent's
// first installation check, and leaves nothing behind.
namespace
{
class DialogEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { dialog_testing::PrepareAgent(); }
    void TearDown() override { dialog_testing::ForgetAgentConfiguration(); }
};

::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogEnvironment);
} // namespace
