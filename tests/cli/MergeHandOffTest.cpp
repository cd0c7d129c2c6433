// How a hand-off ends when no verdict can come, in process: the wait that
// runs out (with a short limit), a watch that cannot be armed (injected),
// and a hand-off directory swapped for a forged one before the application
// is started. Each is an error, and nothing of the hand-off is left in T.

#include "cli/MergeHandOff.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "cli/RunOpen.hpp"
#include "tests/support/HandOffTest.hpp"

using namespace varn;
using namespace std::chrono_literals;
using testsupport::ScopedVariable;
using testsupport::standardOutputOf;

namespace {

class MergeHandOffOutcome : public testsupport::HandOffTest {
protected:
    void SetUp() override {
        if (auto launcher = openLauncherPath(); !launcher || ::access(launcher->c_str(), X_OK) != 0)
            GTEST_SKIP() << "varnel-open is not built";
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        // The application never answers.
        scratch.writeFile("app", "#!/bin/sh\nexit 0\n", true);
    }

    std::string gitDirectory = scratch.makeDirectory("repo/.git");
    std::string root = scratch / "repo";
    ScopedVariable home{"VARNEL_HOME", scratch / "app"};
    ScopedVariable verbose{"VARNEL_VERBOSE", std::nullopt};
};

}  // namespace

TEST_F(MergeHandOffOutcome, NoVerdictThatCanComeIsAnErrorAndLeavesNothingBehind) {
    // The swap an attacker would make: the directory created moved away, a
    // forged request of the same name in its place.
    std::string forged = temporary + "/forged";
    auto swap = [&](const std::string& directory) {
        std::filesystem::rename(directory, scratch / "moved");
        std::filesystem::create_directory(directory);
        scratch.writeFile(directory.substr(scratch.path().size() + 1) + "/.varnel-mergetool", "{}");
        forged = directory;
    };
    struct Case {
        std::string name;
        MergeHandOffSettings settings;
        std::string error;  // its start
        bool mayStart;
    } cases[] = {
        {"no verdict in time", {.limit = 300ms}, "No verdict from the application in time", true},
        {"a watch that cannot be armed",
         {.startWatching = [](auto&) { return platform::Error::posix(EMFILE, "Cannot watch directory"); }},
         "Cannot watch directory: Too many open files",
         false},
        {"a directory swapped before the start", {.beforeLaunch = swap}, "The hand-off directory ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<ap::Error> outcome;
        standardOutputOf([&] { outcome = mergeHandOff(root + "/a.c", c.settings); });
        auto error = outcome->as<ap::LocalizedError>();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->description.rfind(c.error, 0), 0u) << error->description;
        // A launcher started is this process's child until waited for.
        EXPECT_TRUE(c.mayStart || ::waitpid(-1, nullptr, WNOHANG) == -1);
        while (::waitpid(-1, nullptr, 0) > 0) {
        }
        if (c.settings.beforeLaunch) {
            // Neither the forged directory nor the one moved away is removed.
            EXPECT_EQ(testsupport::entriesOf(forged), std::set<std::string>{".varnel-mergetool"});
            EXPECT_EQ(testsupport::entriesOf(scratch / "moved"), std::set<std::string>{".varnel-mergetool"});
            std::filesystem::remove_all(forged);
        }
        EXPECT_TRUE(std::filesystem::is_empty(temporary));
    }
}
