#pragma once
#include <gtest/gtest.h>

#include <HsdkTesting.h>

#include <string>
#include <vector>

#include "DialogTesting.h"

namespace dialog_testing
{
// Logged in as dev1 in the default context; a scripted SDK answer left unused fails the test,
// since the dialog then took another path than the one the test meant to try.
class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { LogInAsDev1(); }
    void TearDown() override
    {
        EXPECT_EQ(hsdk_testing::UnusedScripts(), std::vector<std::string>());
        hsdk_testing::ClearScripts();
    }
};
} // namespace dialog_testing
