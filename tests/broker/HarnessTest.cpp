#include <gtest/gtest.h>

#include <cstdlib>

// The native half of the build: the broker binary exists and runs.
TEST(Harness, BrokerRuns)
{
    EXPECT_EQ(std::system(HARBROKER_PATH " >/dev/null"), 0);
}
