// Child processes: what only a bounded wait shows. How the tool and the
// stand-ins start their children, and what those inherit, is checked end to
// end (tests/e2e).

#include "platform/Process.hpp"

#include <signal.h>

#include <gtest/gtest.h>

using namespace platform;
using namespace std::chrono_literals;

// The user database asks getent so: a child that does not end is given up.
TEST(Process, WaitsAreBounded) {
    auto sleeper = Process::launch("/bin/sleep", {"30"});
    ASSERT_TRUE(sleeper);
    EXPECT_EQ(sleeper->waitUntilExit(50ms).value(), std::nullopt);
    ASSERT_TRUE(sleeper->sendSignal(SIGKILL));
    EXPECT_EQ(sleeper->waitUntilExit(30s).value(), std::optional<int>(SIGKILL));

    auto start = std::chrono::steady_clock::now();
    auto overdue = runCollectingOutput("/bin/sleep", {"30"}, {}, 200ms);
    ASSERT_FALSE(overdue);
    EXPECT_EQ(overdue.error().code, ETIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}
