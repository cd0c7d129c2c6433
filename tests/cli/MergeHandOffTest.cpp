// The hand-off's own outcome in-process, with a short wait: the verdict as
// an exit code carrying the reported number, and a wait that runs out as a
// normal return. The application is a script started by the real launcher.

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

namespace {

class MergeHandOffOutcome : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(openLauncherPath().c_str(), X_OK) != 0) GTEST_SKIP() << "varnel-open is not built";
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
    }

    /// An application that answers `status`, or nothing when empty.
    void applicationAnswering(const std::string& status) {
        std::string script = "#!/bin/sh\nexec >/dev/null 2>&1\n";
        if (!status.empty()) script += "printf %s '" + status + "' > \"$1/.s\" && mv \"$1/.s\" \"$1/status\"\n";
        tmp.writeFile("app", script, true);
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

TEST_F(MergeHandOffOutcome, TheVerdictIsTheExitCodeUnreduced) {
    for (auto [answer, code] : {std::pair{"-3", -3}, {"300", 300}, {"0", 0}}) {
        applicationAnswering(answer);
        testing::internal::CaptureStdout();
        auto outcome = mergeHandOff(root + "/a.c", 5s);
        testing::internal::GetCapturedStdout();
        ASSERT_FALSE(outcome);
        auto exitCode = outcome.error().as<ap::ExitCode>();
        ASSERT_TRUE(exitCode);
        EXPECT_EQ(exitCode->rawValue, code);
        EXPECT_TRUE(handOffs().empty());
    }
}

TEST_F(MergeHandOffOutcome, AWaitThatRunsOutReturnsNormally) {
    applicationAnswering("");
    testing::internal::CaptureStdout();
    auto outcome = mergeHandOff(root + "/a.c", 300ms);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(outcome);
    // Unanswered: the request stays where the application may still find it.
    auto left = handOffs();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(left.front() / ".varnel-mergetool"));
}
