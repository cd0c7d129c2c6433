// Child processes: what only a bounded wait shows. How the tool and the
// stand-ins start, wait for and report their children, and what those
// inherit, is checked end to end (tests/e2e).

#include "platform/Process.hpp"

#include <gtest/gtest.h>

using namespace platform;
using namespace std::chrono_literals;

// The user database asks getent so: a child that does not end is given up.
TEST(Process, WaitsAreBounded) {
    auto start = std::chrono::steady_clock::now();
    auto overdue = runCollectingOutput("/bin/sleep", {"30"}, {}, 200ms);
    ASSERT_FALSE(overdue);
    EXPECT_EQ(overdue.error().code, ETIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}
