// A hand-off whose wait runs out, in-process with a short limit: a normal
// return, which the merge command ends with status 0. The application is a
// script started by the real launcher; it never answers.

#include "cli/MergeHandOff.hpp"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "cli/RunOpen.hpp"
#include "tests/platform/ScopedChanges.hpp"
#include "tests/platform/TemporaryDirectory.hpp"

using namespace varn;
using namespace std::chrono_literals;
using testsupport::ScopedVariable;
using testsupport::standardOutputOf;

namespace {

class MergeHandOffOutcome : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(openLauncherPath().c_str(), X_OK) != 0) GTEST_SKIP() << "varnel-open is not built";
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
    }

    std::vector<std::filesystem::path> handOffs() const {
        return {std::filesystem::directory_iterator(temporary), {}};
    }

    testsupport::TemporaryDirectory tmp;
    std::string temporary = tmp.makeDirectory("T");
    std::string root = tmp.makeDirectory("repo");
    std::string gitDirectory = tmp.makeDirectory("repo/.git");
    ScopedVariable tmpdir{"TMPDIR", temporary};
    ScopedVariable home{"VARNEL_HOME", tmp / "app"};
    ScopedVariable verbose{"VARNEL_VERBOSE", std::nullopt};
};

}  // namespace

TEST_F(MergeHandOffOutcome, AWaitThatRunsOutReturnsNormally) {
    tmp.writeFile("app", "#!/bin/sh\nexit 0\n", true);
    std::optional<ap::Result<void>> outcome;
    standardOutputOf([&] { outcome = mergeHandOff(root + "/a.c", 300ms); });
    EXPECT_TRUE(*outcome);
    // Unanswered: the request stays where the application may still find it.
    auto left = handOffs();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(left.front() / ".varnel-mergetool"));
}
