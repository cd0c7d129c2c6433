// The lazily built standard output stream writes through stdio, so its text
// keeps its place among stdio's and one flush of stdout sends it on.

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/StandardOutput.hpp"

TEST(StandardOutput, InterleavesWithStdioInOrder) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    std::fputs("one ", stdout);
    platform::standardOutput() << "two " << 3 << ' ';
    std::fputs("four", stdout);
    platform::standardOutput() << '\n';
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "one two 3 four\n");
    EXPECT_TRUE(platform::standardOutput().good());
}
