// How a hand-off ends when no verdict can come, in process: the wait that
// runs out (with a short limit), a watch that cannot be armed (injected),
// and a hand-off directory swapped for a forged one before the application
// is started, or removed, moved or replaced while the tool waits. Each is an
// error, and nothing but the hand-off's own files is removed.

#include "cli/MergeHandOff.hpp"

#include <signal.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "cli/MergeWait.hpp"
#include "cli/RunOpen.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Process.hpp"
#include "platform/SignalPipe.hpp"
#include "shared/MergeToolMetaData.hpp"
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

/// The tool's wait, on a hand-off made here.
class MergeWait : public testsupport::HandOffTest {};

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
        standardOutputOf([&] { outcome = mergeHandOff(root + "/a.c", MergeRepository::nearest, c.settings); });
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

// A verdict counts only in the directory created, while its path still
// names it and it still holds its record: not in that directory being
// removed or moved away, nor behind a link that took its name, however "0"
// it says. The wait ends at once in an error, and its removal of the
// hand-off does not reach through the link.
TEST_F(MergeWait, ADirectoryRemovedMovedOrReplacedIsNeverBelieved) {
    auto forged = scratch.makeDirectory("forged", 0700);
    ASSERT_TRUE(platform::writeFileAtomically(forged + "/status", "0"));
    auto moved = scratch / "moved";
    struct {
        std::string name;
        std::function<void(const std::string&)> act;
    } cases[] = {
        {"being removed", [](const std::string& path) { std::remove((path + "/.varnel-mergetool").c_str()); }},
        {"moved away with a verdict in it",
         [&](const std::string& path) {
             ASSERT_EQ(::rename(path.c_str(), moved.c_str()), 0);
             ASSERT_TRUE(platform::writeFileAtomically(moved + "/status", "0"));
         }},
        {"replaced by a link",
         [&](const std::string& path) {
             ASSERT_EQ(::rename(path.c_str(), moved.c_str()), 0);
             ASSERT_EQ(::symlink(forged.c_str(), path.c_str()), 0);
         }},
    };
    VarnShared::MergeToolMetaData record;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto created = VarnShared::MergeToolMetaData::createHeld("/r", "/r/a.c");
        ASSERT_TRUE(created) << created.error().description;
        record = created->record;
        VarnShared::MergeToolStatusWatcher watcher(std::move(created->directory));
        ASSERT_TRUE(watcher.startWatching());
        c.act(record.path);
        // The launcher has passed the request on and ended, as varnel-open does.
        auto signals = platform::SignalPipe::catching({SIGCHLD});
        ASSERT_TRUE(signals);
        auto launcher = platform::Process::launch("/bin/true", {});
        ASSERT_TRUE(launcher);
        auto outcome = awaitVerdict(watcher, *launcher, *signals,
                                    VarnShared::MergeToolStatusWatcher::Clock::now() + 200ms);
        (void)launcher->waitUntilExit();
        auto error = outcome.as<ap::LocalizedError>();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->description,
                  "The hand-off directory " + record.path + " was removed or replaced before the application answered");
        EXPECT_EQ(testsupport::entriesOf(forged), std::set<std::string>{"status"});
        (void)platform::removeRecursively(moved);
        (void)platform::removeRecursively(record.path);
    }
    // The application answers a hand-off that is gone without complaint.
    EXPECT_TRUE(record.writeStatus(VarnShared::MergeToolMetaData::Result::ok));
    EXPECT_FALSE(platform::fileExists(record.path));
}

// A wait abandoned (here on SIGTERM) while the launcher is still starting
// leaves the hand-off in place until the launcher has ended, so that the
// launcher never finds it gone and adds a complaint of its own.
TEST_F(MergeWait, AnAbandonedWaitRemovesTheHandOffOnlyAfterTheLauncher) {
    auto created = VarnShared::MergeToolMetaData::createHeld("/r", "/r/a.c");
    ASSERT_TRUE(created) << created.error().description;
    auto path = created->record.path;
    VarnShared::MergeToolStatusWatcher watcher(std::move(created->directory));
    ASSERT_TRUE(watcher.startWatching());
    auto signals = platform::SignalPipe::catching({SIGCHLD, SIGTERM});
    ASSERT_TRUE(signals);
    auto launcher = platform::Process::launch("/bin/sh", {"-c", "sleep 0.3; test -d \"$1\"", "sh", path});
    ASSERT_TRUE(launcher);
    ::raise(SIGTERM);
    auto outcome = awaitVerdict(watcher, *launcher, *signals, VarnShared::MergeToolStatusWatcher::Clock::now() + 5s);
    auto code = outcome.as<ap::ExitCode>();
    ASSERT_TRUE(code);
    EXPECT_EQ(code->rawValue, 128 + SIGTERM);
    auto ended = launcher->reapIfExited();
    ASSERT_TRUE(ended && *ended);
    EXPECT_EQ(launcher->terminationStatus(), 0);
    EXPECT_FALSE(platform::fileExists(path));
}
