// git mergetool with varn as the merge tool, set up as README.md says, on
// real conflicts in repositories of the test's own: plain ones, linked
// worktrees beside and inside the main checkout, a separate git directory,
// a submodule. The stand-in application answers as VARNEL_STUB_MERGE says.

#include <signal.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/EndToEnd.hpp"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class GitMergetool : public EndToEnd {
protected:
    /// A repository in `checkout` with the files committed on "main" and
    /// changed on "other"; git runs with `more` in its environment.
    void makeRepository(const std::string& checkout, std::vector<std::string> init = {"init", "-q", "-b", "main"},
                        const EnvironmentChanges& more = {}) const {
        fs::create_directories(checkout);
        git(init, checkout, more);
        for (const auto& file : files) tmp.writeFile(checkout.substr(tmp.path().size() + 1) + "/" + file, "base\n");
        git({"add", "."}, checkout, more);
        git({"commit", "-q", "-m", "base"}, checkout, more);
        git({"switch", "-q", "-c", "other"}, checkout, more);
        for (const auto& file : files) tmp.writeFile(checkout.substr(tmp.path().size() + 1) + "/" + file, "other\n");
        git({"commit", "-q", "-am", "other"}, checkout, more);
        git({"switch", "-q", "main"}, checkout, more);
    }

    /// The files changed differently on the branch checked out, then "other"
    /// merged: every file conflicts.
    void makeConflicts(const std::string& checkout, const EnvironmentChanges& more = {}) const {
        for (const auto& file : files) tmp.writeFile(checkout.substr(tmp.path().size() + 1) + "/" + file, "mine\n");
        git({"commit", "-q", "-am", "mine"}, checkout, more);
        git({"merge", "-q", "other"}, checkout, more, 1);
        ASSERT_EQ(unmerged(checkout, more), "-x.txt\nsub/greeting.txt\n");
    }

    /// The paths git still holds as conflicted.
    std::string unmerged(const std::string& checkout, const EnvironmentChanges& more = {}) const {
        return git({"diff", "--name-only", "--diff-filter=U"}, checkout, more).standardOutput;
    }

    /// The name begins with "-" at the top of the work tree: git hands it
    /// over as it is.
    const std::vector<std::string> files = {"-x.txt", "sub/greeting.txt"};
};

}  // namespace

TEST_F(GitMergetool, AResolvedMergeIsRecordedByGit) {
    for (auto [side, style] : {std::pair{"ours", "merge"}, {"theirs", "zdiff3"}}) {
        SCOPED_TRACE(side);
        fs::remove_all(root);
        fs::remove(handed + "/targets");
        makeRepository(root);
        git({"config", "merge.conflictStyle", style}, root);
        makeConflicts(root);
        git({"mergetool", "--no-prompt"}, root, {{"VARNEL_STUB_MERGE", side}});
        EXPECT_EQ(unmerged(root), "");
        // Added as resolved, with the application's result.
        EXPECT_EQ(git({"diff", "--name-only"}, root).standardOutput, "");
        for (const auto& file : files)
            EXPECT_EQ(readFile(root + "/" + file), std::string(side) == "ours" ? "mine\n" : "other\n");
        // One hand-off per conflicted file, each removed once answered.
        EXPECT_EQ(handedOver(2).size(), 2u);
        EXPECT_TRUE(fs::is_empty(temporary));
    }
}

// A merge the application did not resolve keeps its conflict. Nothing for
// git to wait for: an application that cannot be started ends the run at
// once, and so does an interrupt of the whole process group while varn
// waits, as Ctrl-C in a terminal sends it. Either way git keeps the
// conflict and no hand-off is left behind. A work tree git finds only
// through GIT_DIR (as a bare repository for dotfiles is found) has no .git
// the application could find: its merges fail, saying why.
TEST_F(GitMergetool, AnUnresolvedMergeAMissingApplicationOrAnInterruptKeepsTheConflictAndLeavesNothing) {
    makeRepository(root);
    makeConflicts(root);
    git({"mergetool", "--no-prompt", "sub/greeting.txt"}, root, {{"VARNEL_STUB_MERGE", "didNotResolve"}}, 1);
    EXPECT_TRUE(readFile(root + "/sub/greeting.txt").starts_with("<<<<<<< HEAD\n"));
    EXPECT_EQ(handedOver(1).size(), 1u);
    auto ran = git({"mergetool", "--no-prompt"}, root, {{"VARNEL_HOME", "/nonexistent"}}, 1);
    EXPECT_NE(ran.standardError.find("\nError: Cannot hand the merge over: "), std::string::npos) << ran.standardError;
    EXPECT_EQ(unmerged(root), "-x.txt\nsub/greeting.txt\n");
    EXPECT_TRUE(fs::is_empty(temporary));

    ::signal(SIGINT, SIG_DFL);  // as from a terminal, where it is not ignored
    fs::remove(stubLog);        // the stub logs its delivery once varn waits
    auto mergetool = start("/usr/bin/git", {"mergetool", "--no-prompt"}, root,
                           environment({{"VARNEL_STUB_MERGE", "none"}}), true);
    bool waiting = eventually([&] { return readFile(stubLog).starts_with("merge\t"); });
    ASSERT_EQ(::kill(-mergetool.processIdentifier(), waiting ? SIGINT : SIGKILL), 0);
    EXPECT_NE(finish(mergetool, std::chrono::seconds(5)).terminationStatus, -1);
    EXPECT_TRUE(waiting);
    EXPECT_TRUE(eventually([&] { return fs::is_empty(temporary); }));
    EXPECT_EQ(unmerged(root), "-x.txt\nsub/greeting.txt\n");

    const std::string dotfiles = tmp / "dotfiles";
    const EnvironmentChanges throughGitDir = {{"GIT_DIR", tmp / "dotfiles.git"}, {"GIT_WORK_TREE", dotfiles}};
    makeRepository(dotfiles, {"init", "-q", "-b", "main"}, throughGitDir);
    makeConflicts(dotfiles, throughGitDir);
    ran = git({"mergetool", "--no-prompt", "sub/greeting.txt"}, dotfiles, throughGitDir, 1);
    EXPECT_NE(ran.standardError.find("Error: Invalid path: " + dotfiles +
                                     "/sub/greeting.txt (no .git above it; git's directory was given through "
                                     "GIT_DIR)\n"),
              std::string::npos)
        << ran.standardError;
    EXPECT_EQ(unmerged(dotfiles, throughGitDir), "-x.txt\nsub/greeting.txt\n");
}

// A checkout whose `.git` is a file naming git's directory is a repository
// of its own: each merge is handed over with the checkout git runs in. So
// is a submodule, opened, merged or compared (a directory comparison,
// which names no file) from inside; from the superproject it is an entry of
// its work tree, so a comparison spanning its update is one session of the
// superproject, and a merge tool handed it works in the superproject.
TEST_F(GitMergetool, EachCheckoutAndSubmoduleIsARepositoryOfItsOwn) {
    const std::string main = tmp / "main";
    makeRepository(main);
    git({"worktree", "add", "-q", "-b", "beside", tmp / "beside"}, main);
    git({"worktree", "add", "-q", "-b", "inside", main + "/.worktrees/feature"}, main);
    makeRepository(tmp / "separate", {"init", "-q", "-b", "main", "--separate-git-dir", tmp / "separate.git"});
    const std::vector<std::string> checkouts = {tmp / "beside", main + "/.worktrees/feature", tmp / "separate"};
    for (const auto& checkout : checkouts) {
        makeConflicts(checkout);
        git({"mergetool", "--no-prompt"}, checkout, {{"VARNEL_STUB_MERGE", "ours"}});
        EXPECT_EQ(unmerged(checkout), "") << checkout;
    }
    makeRepository(tmp / "library");
    makeRepository(root);
    git({"-c", "protocol.file.allow=always", "submodule", "add", "-q", tmp / "library", "library"}, root);
    auto submodule = root + "/library";
    auto inside = tmp.makeDirectory("repo/library/sub");
    for (const auto& arguments : {std::vector<std::string>{}, {"merge", "../-x.txt"}}) {
        auto ran = varn(arguments, inside, {{"VARNEL_STUB_MERGE", "ok"}});
        EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
    }
    tmp.writeFile("repo/library/sub/greeting.txt", "changed\n");
    git({"difftool", "-y", "-d"}, inside);
    auto targets = handedOver(9);
    ASSERT_EQ(targets.size(), 9u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(recordOf(targets[i]).at("repo"), checkouts[i / 2]);
    // The repository opened, a merge's record and the session's.
    EXPECT_EQ(std::count(targets.begin() + 6, targets.end(), submodule), 1);
    for (auto target = targets.begin() + 6; target != targets.end(); ++target)
        EXPECT_TRUE(*target == submodule || recordOf(*target).at("repo") == submodule);

    git({"commit", "-q", "-m", "library added"}, root);
    git({"commit", "-q", "-am", "changed"}, submodule);
    tmp.writeFile("repo/-x.txt", "moved\n");
    git({"commit", "-q", "-am", "library moved"}, root);
    git({"difftool", "-y", "HEAD~1", "HEAD"}, root);
    auto handed = varn({"_mergetool", "--base", "", "--local", "", "--remote", "", "--merged", "library"}, root,
                       {{"VARNEL_STUB_MERGE", "ok"}});
    EXPECT_EQ(handed.terminationStatus, 0) << handed.standardError;
    targets = handedOver(12);
    ASSERT_EQ(targets.size(), 12u);
    EXPECT_EQ(targets[10], targets[9]);
    auto session = nlohmann::json::parse(readFile(targets[9] + "/.varnel-difftool"));
    EXPECT_EQ(session.at("repo"), root);
    EXPECT_EQ(session.at("entries").size(), 2u);
    EXPECT_EQ(recordOf(targets[11]).at("repo"), root);
}
