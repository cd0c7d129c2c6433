// Checkouts whose `.git` is a file naming git's directory: linked worktrees
// beside the main checkout and inside it, a checkout with a separate git
// directory, a submodule. Each is a repository of its own. Real git, the
// real tool and launcher; the application keeps each record it is handed
// and passes it on to the stand-in application.

#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/e2e/Programs.hpp"
#include "tests/support/ShellDriver.hpp"

using namespace e2e;
using shelldriver::lines;
using testsupport::readFile;
namespace fs = std::filesystem;

namespace {

class Worktrees : public ::testing::Test {
protected:
    void SetUp() override {
        if (fs::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        // A copy of each record first, then the target: once the target is
        // noted, its record is there too. `varn` (open) runs it as xdg-open.
        tmp.writeFile("bin/xdg-open",
                      "#!/bin/sh\nexec >/dev/null 2>&1\n"
                      "for f in \"$1/.varnel-mergetool\" \"$1/.varnel-difftool\"; do\n"
                      "  [ -f \"$f\" ] && cp \"$f\" '" + kept + "'/\"$(basename \"$1\")\"\ndone\n"
                      "printf '%s\\n' \"$1\" >> '" + targets + "'\n"
                      "exec '" + binaryDirectory + "/varnel-stub' \"$1\"\n",
                      true);
        for (auto [name, value] :
             {std::pair<std::string, std::string>{"mergetool.varn.cmd", tool("_mergetool")},
              {"difftool.varn.cmd", tool("_difftool")}, {"mergetool.varn.trustExitCode", "true"},
              {"mergetool.keepBackup", "false"}, {"protocol.file.allow", "always"}, {"init.defaultBranch", "main"}})
            git(home, {"config", "--global", name, value});
    }

    static std::string tool(const std::string& command) {
        return varnProgram + " " + command +
               " --base \"$BASE\" --local \"$LOCAL\" --remote \"$REMOTE\" --merged \"$MERGED\"";
    }

    EnvironmentChanges environment() const {
        return gitEnvironment(home, {{"TMPDIR", temporary},
                                     {"PATH", tmp / "bin:/usr/bin:/bin"},
                                     {"VARNEL_HOME", tmp / "bin/xdg-open"}});
    }

    platform::ProcessOutput git(const std::string& directory, const std::vector<std::string>& arguments) const {
        auto ran = run("/usr/bin/git", arguments, directory, environment());
        EXPECT_EQ(ran.terminationStatus, 0) << "git " << arguments[0] << ": " << ran.standardError;
        return ran;
    }

    /// A repository in `checkout` with a commit on "main" and one on
    /// "theirs" that changes greeting.txt.
    void makeRepository(const std::string& checkout, std::vector<std::string> init = {"init", "-q"}) const {
        fs::create_directories(checkout);
        git(checkout, init);
        shelldriver::write(checkout + "/greeting.txt", "hello\n");
        git(checkout, {"add", "."});
        git(checkout, {"commit", "-q", "-m", "base"});
        git(checkout, {"branch", "theirs"});
        git(checkout, {"switch", "-q", "theirs"});
        shelldriver::write(checkout + "/greeting.txt", "hello from theirs\n");
        git(checkout, {"commit", "-q", "-am", "theirs"});
        git(checkout, {"switch", "-q", "main"});
    }

    /// greeting.txt changed on the checked-out branch, then "theirs" merged:
    /// one conflict.
    void makeConflict(const std::string& checkout) const {
        shelldriver::write(checkout + "/greeting.txt", "hello from mine\n");
        git(checkout, {"commit", "-q", "-am", "mine"});
        EXPECT_EQ(run("/usr/bin/git", {"merge", "-q", "theirs"}, checkout, environment()).terminationStatus, 1);
    }

    /// The repository of each delivery to the application, in order (at
    /// most 10 s until there are `count`): the record's `repo`, or the
    /// target itself when it has no record (open).
    std::vector<std::string> handedOver(std::size_t count) const {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (lines(readFile(targets)).size() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::vector<std::string> repositories;
        for (const auto& target : lines(readFile(targets))) {
            auto record = kept + "/" + fs::path(target).filename().string();
            repositories.push_back(
                fs::exists(record) ? nlohmann::json::parse(readFile(record)).at("repo").get<std::string>() : target);
        }
        return repositories;
    }

    testsupport::TemporaryDirectory tmp;
    std::string home = tmp.makeDirectory("home");
    std::string temporary = tmp.makeDirectory("T");
    std::string kept = tmp.makeDirectory("kept");
    std::string targets = tmp / "targets";
    std::string main = tmp / "main";
};

}  // namespace

TEST_F(Worktrees, GitMergetoolHandsOverTheCheckoutItRunsIn) {
    makeRepository(main);
    git(main, {"worktree", "add", "-q", "-b", "beside", tmp / "beside"});
    git(main, {"worktree", "add", "-q", "-b", "inside", main + "/.worktrees/feature"});
    makeRepository(tmp / "separate", {"init", "-q", "--separate-git-dir", tmp / "separate.git"});
    const std::vector<std::string> checkouts = {tmp / "beside", main + "/.worktrees/feature", tmp / "separate"};
    for (const auto& checkout : checkouts) {
        makeConflict(checkout);
        git(checkout, {"mergetool", "--no-prompt", "--tool", "varn"});
        EXPECT_EQ(git(checkout, {"diff", "--name-only", "--diff-filter=U"}).standardOutput, "") << checkout;
        EXPECT_EQ(readFile(checkout + "/greeting.txt"), "hello from mine\n");
    }
    EXPECT_EQ(handedOver(checkouts.size()), checkouts);
}

TEST_F(Worktrees, ASubmoduleIsARepositoryOfItsOwn) {
    makeRepository(tmp / "library");
    makeRepository(main);
    git(main, {"submodule", "add", "-q", tmp / "library", "library"});
    auto submodule = main + "/library";
    auto inside = tmp.makeDirectory("main/library/sub");

    for (const auto& arguments : {std::vector<std::string>{}, {"merge", "../greeting.txt"}}) {
        auto ran = run(varnProgram, arguments, inside, environment());
        EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
    }
    shelldriver::write(submodule + "/greeting.txt", "changed\n");
    git(inside, {"difftool", "-y", "--tool", "varn"});
    EXPECT_EQ(handedOver(3), std::vector<std::string>(3, submodule));
}
