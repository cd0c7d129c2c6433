#include "platform/ProcessInfo.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Paths.hpp"
#include "tests/platform/ScopedChanges.hpp"

using namespace platform;

TEST(ProcessInfo, EnvironmentTellsUnsetFromEmpty) {
    {
        testsupport::ScopedVariable unset("VARN_TEST_VARIABLE", std::nullopt);
        EXPECT_EQ(environmentValue("VARN_TEST_VARIABLE"), std::nullopt);
    }
    testsupport::ScopedVariable empty("VARN_TEST_VARIABLE", "");
    EXPECT_EQ(environmentValue("VARN_TEST_VARIABLE"), std::optional<std::string>(""));
}

TEST(ProcessInfo, IdentifiersAndExecutable) {
    EXPECT_EQ(processGroupIdentifier().value(), ::getpgrp());
    EXPECT_FALSE(processGroupIdentifier(-5));
    auto executable = executablePath();
    ASSERT_TRUE(executable);
    EXPECT_EQ(lastPathComponent(*executable), "platform_tests");
    EXPECT_EQ(resolvingSymlinksInPath(*executable), *executable);
}
