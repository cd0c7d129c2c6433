// git mergetool with varn as the merge tool and the stand-in application
// answering, on real conflicts in a repository of the test's own. Nothing
// of the machine's git configuration takes part.

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

class GitMergetool : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        if (git({"--version"}).terminationStatus != 0) GTEST_SKIP() << "git is not installed";
    }

    EnvironmentChanges environment(EnvironmentChanges more = {}) const {
        for (auto [name, value] : {std::pair{"HOME", home}, {"XDG_CONFIG_HOME", home + "/.config"},
                                   {"TMPDIR", temporary}, {"VARNEL_HOME", binaryDirectory + "/varnel-stub"},
                                   {"VARNEL_STUB_LOG", log}, {"GIT_CONFIG_NOSYSTEM", std::string("1")},
                                   {"GIT_AUTHOR_NAME", std::string("Ada")},
                                   {"GIT_AUTHOR_EMAIL", std::string("ada@example.invalid")},
                                   {"GIT_COMMITTER_NAME", std::string("Ada")},
                                   {"GIT_COMMITTER_EMAIL", std::string("ada@example.invalid")}})
            more.emplace(name, value);
        for (auto name : {"GIT_DIR", "GIT_WORK_TREE", "GIT_INDEX_FILE", "GIT_CONFIG_GLOBAL", "VARNEL_VERBOSE"})
            more.emplace(name, std::nullopt);
        return more;
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

TEST_F(GitMergetool, TheToolNeedsAllFourFiles) {
    std::vector<std::string> all = {"--base", "b", "--local", "l", "--remote", "r", "--merged", "m"};
    for (std::size_t left = 0; left < all.size(); left += 2) {
        std::vector<std::string> arguments = {"_mergetool"};
        for (std::size_t i = 0; i < all.size(); i += 2)
            if (i != left) arguments.insert(arguments.end(), {all[i], all[i + 1]});
        auto ran = run(varnProgram, arguments, repository, environment());
        EXPECT_EQ(ran.terminationStatus, 64) << all[left];
        EXPECT_EQ(ran.standardError.rfind("Error: Missing expected argument '" + all[left], 0), 0u)
            << ran.standardError;
    }
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
}
