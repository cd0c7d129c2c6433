// git mergetool with varn as the merge tool and the stand-in application
// answering, on real conflicts in a repository of the test's own. Nothing
// of the machine's git configuration takes part.

#include <signal.h>

#include <filesystem>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"
#include "tests/e2e/ReadmeGitConfiguration.hpp"

using namespace e2e;

namespace {

class GitMergetool : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        if (git({"--version"}).terminationStatus != 0) GTEST_SKIP() << "git is not installed";
    }

    EnvironmentChanges environment(EnvironmentChanges more = {}) const {
        more.emplace("TMPDIR", temporary);
        more.emplace("VARNEL_HOME", binaryDirectory + "/varnel-stub");
        more.emplace("VARNEL_STUB_LOG", log);
        return gitEnvironment(home, std::move(more));
    }

    platform::ProcessOutput git(std::vector<std::string> arguments, const EnvironmentChanges& changes = {}) const {
        arguments.insert(arguments.begin(), "git");
        return run("/usr/bin/env", arguments, repository, environment(changes));
    }

    /// Two files changed differently on two branches, merged: both conflict.
    void makeConflicts(const std::string& style = "merge") {
        auto step = [&](std::vector<std::string> arguments) {
            auto ran = git(arguments);
            ASSERT_EQ(ran.terminationStatus, 0) << ran.standardError;
        };
        step({"init", "-q", "-b", "main"});
        step({"config", "merge.conflictStyle", style});
        step({"config", "mergetool.varn.cmd",
              varnProgram + " _mergetool --base \"$BASE\" --local \"$LOCAL\" --remote \"$REMOTE\"" +
                  " --merged \"$MERGED\""});
        step({"config", "mergetool.varn.trustExitCode", "true"});
        step({"config", "mergetool.keepBackup", "false"});
        tmp.writeFile("repo/greeting.txt", "hello\nworld\n");
        tmp.writeFile("repo/sub/farewell.txt", "bye\n");
        step({"add", "."});
        step({"commit", "-q", "-m", "base"});
        step({"checkout", "-q", "-b", "other"});
        tmp.writeFile("repo/greeting.txt", "hello from other\nworld\n");
        tmp.writeFile("repo/sub/farewell.txt", "bye from other\n");
        step({"commit", "-q", "-am", "other"});
        step({"checkout", "-q", "main"});
        tmp.writeFile("repo/greeting.txt", "hello from main\nworld\n");
        tmp.writeFile("repo/sub/farewell.txt", "bye from main\n");
        step({"commit", "-q", "-am", "main"});
        EXPECT_EQ(git({"merge", "-q", "other"}).terminationStatus, 1);
        ASSERT_EQ(unmerged(), "greeting.txt\nsub/farewell.txt\n");
    }

    /// The paths git still holds as conflicted.
    std::string unmerged() const { return git({"diff", "--name-only", "--diff-filter=U"}).standardOutput; }

    std::size_t mergeDeliveries() const {
        std::size_t count = 0;
        std::istringstream lines(testsupport::readFile(log));
        for (std::string line; std::getline(lines, line);) count += line.rfind("merge\t", 0) == 0;
        return count;
    }

    testsupport::TemporaryDirectory tmp;
    std::string home = tmp.makeDirectory("home");
    std::string temporary = tmp.makeDirectory("T");
    std::string repository = tmp.makeDirectory("repo");
    std::string log = tmp / "stub.log";
};

}  // namespace

TEST_F(GitMergetool, AResolvedMergeIsRecordedByGit) {
    struct Case {
        std::string action;
        std::string style;
        std::string greeting;
    } cases[] = {{"ours", "merge", "hello from main\nworld\n"}, {"theirs", "zdiff3", "hello from other\nworld\n"}};
    for (const auto& c : cases) {
        std::filesystem::remove_all(repository + "/.git");
        std::filesystem::remove(log);
        makeConflicts(c.style);
        auto ran = git({"mergetool", "--no-prompt", "--tool", "varn"}, {{"VARNEL_STUB_MERGE", c.action}});
        EXPECT_EQ(ran.terminationStatus, 0) << ran.standardOutput << ran.standardError;
        EXPECT_EQ(unmerged(), "");
        // Added as resolved, with the application's result.
        auto staged = git({"ls-files", "--stage"}).standardOutput;
        EXPECT_NE(staged.find(" 0\tgreeting.txt\n"), std::string::npos) << staged;
        EXPECT_NE(staged.find(" 0\tsub/farewell.txt\n"), std::string::npos) << staged;
        EXPECT_EQ(git({"diff", "--name-only"}).standardOutput, "");
        EXPECT_EQ(testsupport::readFile(repository + "/greeting.txt"), c.greeting);
        // One hand-off per conflicted file, each removed once answered.
        EXPECT_EQ(mergeDeliveries(), 2u);
        EXPECT_TRUE(std::filesystem::is_empty(temporary));
    }
}

TEST_F(GitMergetool, AnUnresolvedMergeKeepsTheConflict) {
    makeConflicts();
    auto ran = git({"mergetool", "--no-prompt", "--tool", "varn", "greeting.txt"},
                   {{"VARNEL_STUB_MERGE", "didNotResolve"}});
    EXPECT_NE(ran.terminationStatus, 0);
    EXPECT_EQ(unmerged(), "greeting.txt\nsub/farewell.txt\n");
    EXPECT_NE(testsupport::readFile(repository + "/greeting.txt").find("<<<<<<< HEAD\n"), std::string::npos);
    EXPECT_EQ(mergeDeliveries(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
}

// With README.md's configuration, a conflicted file whose name begins with
// "-", at the top of the work tree, reaches the application and is resolved.
TEST_F(GitMergetool, TheReadmeConfigurationResolvesAFileNamedLikeAnOption) {
    EnvironmentChanges path{pathWithVarn()};
    auto step = [&](std::vector<std::string> arguments) {
        auto ran = git(arguments, path);
        ASSERT_EQ(ran.terminationStatus, 0) << ran.standardError;
    };
    step({"init", "-q", "-b", "main"});
    for (const auto& command : readmeGitConfiguration()) step(command);
    tmp.writeFile("repo/-x.txt", "base\n");
    step({"add", "."});
    step({"commit", "-q", "-m", "base"});
    step({"checkout", "-q", "-b", "other"});
    tmp.writeFile("repo/-x.txt", "other\n");
    step({"commit", "-q", "-am", "other"});
    step({"checkout", "-q", "main"});
    tmp.writeFile("repo/-x.txt", "main\n");
    step({"commit", "-q", "-am", "main"});
    EXPECT_EQ(git({"merge", "-q", "other"}).terminationStatus, 1);
    ASSERT_EQ(unmerged(), "-x.txt\n");

    path.emplace("VARNEL_STUB_MERGE", "theirs");
    auto ran = git({"mergetool", "--no-prompt"}, path);
    EXPECT_EQ(ran.terminationStatus, 0) << ran.standardOutput << ran.standardError;
    EXPECT_EQ(unmerged(), "");
    EXPECT_EQ(testsupport::readFile(repository + "/-x.txt"), "other\n");
    EXPECT_EQ(mergeDeliveries(), 1u);
}

// Nothing for git to wait for: an application that cannot be started ends
// the run at once, and so does an interrupt of the whole process group
// while varn waits, as Ctrl-C in a terminal sends it. Either way git keeps
// the conflict and no hand-off is left behind.
TEST_F(GitMergetool, AMissingApplicationOrAnInterruptKeepsTheConflictAndLeavesNothing) {
    makeConflicts();
    auto ran = git({"mergetool", "--no-prompt", "--tool", "varn"}, {{"VARNEL_HOME", "/nonexistent"}});
    EXPECT_EQ(ran.terminationStatus, 1) << ran.standardOutput << ran.standardError;
    EXPECT_NE(ran.standardError.find("\nError: Cannot hand the merge over: "), std::string::npos) << ran.standardError;
    EXPECT_EQ(unmerged(), "greeting.txt\nsub/farewell.txt\n");
    EXPECT_TRUE(std::filesystem::is_empty(temporary));

    ::signal(SIGINT, SIG_DFL);  // as from a terminal, where it is not ignored
    auto mergetool = platform::Process::launch(
        "/usr/bin/env", {"git", "mergetool", "--no-prompt", "--tool", "varn"},
        {.nullInput = true, .newSession = true, .workingDirectory = repository,
         .environment = environmentWith(environment({{"VARNEL_STUB_MERGE", "none"}}))});
    ASSERT_TRUE(mergetool) << mergetool.error().description;
    auto eventually = [](auto condition) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return condition();
    };
    bool waiting = eventually([&] { return mergeDeliveries() == 1; });
    ASSERT_EQ(::kill(-mergetool->processIdentifier(), waiting ? SIGINT : SIGKILL), 0);
    auto ended = mergetool->waitUntilExit(std::chrono::seconds(5));
    if (!ended || !*ended) ::kill(-mergetool->processIdentifier(), SIGKILL);
    ASSERT_TRUE(waiting && ended && *ended);
    EXPECT_TRUE(eventually([&] { return std::filesystem::is_empty(temporary); }));
    EXPECT_EQ(unmerged(), "greeting.txt\nsub/farewell.txt\n");
}
