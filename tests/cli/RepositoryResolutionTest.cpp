#include "cli/RepositoryResolution.hpp"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "cli/HasRepoParam.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace varn;
using testsupport::ScopedCurrentDirectory;
using testsupport::ScopedVariable;

namespace {

struct RepoCommand {
    std::optional<std::string> repo;
};
static_assert(HasRepoParam<RepoCommand>);

}  // namespace

class RepositoryResolution : public ::testing::Test {
protected:
    void SetUp() override {
        if (findRepositoryRoot(tmp.path())) GTEST_SKIP() << "the temporary directory lies inside a repository";
    }
    testsupport::TemporaryDirectory tmp;
    std::string gitDirectory = tmp.makeDirectory("project/.git");
    std::string root = tmp / "project";
    std::string deeper = tmp.makeDirectory("project/src/deeper");
};

TEST_F(RepositoryResolution, FindsTheWorkTreeRootAboveAFileOrThroughALink) {
    ScopedCurrentDirectory cwd(deeper);
    ScopedVariable home("HOME", tmp.path());
    tmp.makeLink("link", "project/src");
    EXPECT_EQ(resolveRepository(RepoCommand{}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"../.."}).value(), root);
    // A file inside, present or not, resolves to the root as well.
    tmp.writeFile("project/src/file.c", "");
    EXPECT_EQ(resolveRepository(RepoCommand{"../file.c"}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"not/there.c"}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"~/link/deeper"}).value(), root);
    EXPECT_EQ(absoluteFileURL("~/link/deeper/"), deeper);
    // Upward from the path as given: the link's parents, not its destination's.
    EXPECT_EQ(findRepositoryRoot(tmp / "link/deeper"), std::nullopt);
}

// 4,096 components of 64 characters, far beyond what the system looks up
// at once. The bound guards against a hang, or a walk that grows with the
// square of the path (seconds already at 1,024): the search takes
// milliseconds.
TEST_F(RepositoryResolution, FindsTheRootFromAPathTooLongToLookUp) {
    auto path = deeper;
    for (int i = 0; i < 4096; ++i) path += "/" + std::string(64, static_cast<char>('a' + i % 26));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(findRepositoryRoot(path), root);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// What git writes for a linked worktree, a submodule or a separate git
// directory makes a root; anything else, a pipe or an oversized file
// included, is passed over for the enclosing root.
TEST_F(RepositoryResolution, AGitFileMakesARootWhenItNamesAnExistingDirectory) {
    auto worktree = tmp / "project/worktree";
    auto sub = tmp.makeDirectory("project/worktree/sub");
    struct Case {
        std::string contents;
        bool isRoot;
    } cases[] = {
        {"gitdir: " + gitDirectory + "\n", true},
        {"gitdir: ../.git\r\nsecond line\n", true},
        {"gitdir: \n", false},
        {"Gitdir: " + gitDirectory + "\n", false},
        {"gitdir: " + gitDirectory + std::string(64 * 1024, '\n'), false},
    };
    for (const auto& c : cases) {
        tmp.writeFile("project/worktree/.git", c.contents);
        EXPECT_EQ(resolveRepository(RepoCommand{sub}).value(), c.isRoot ? worktree : root) << c.contents.substr(0, 40);
    }
    std::filesystem::remove(worktree + "/.git");
    ASSERT_EQ(::mkfifo((worktree + "/.git").c_str(), 0600), 0);
    EXPECT_EQ(findRepositoryRoot(sub), root);
    EXPECT_TRUE(isRepositoryRoot(root));  // its `.git` is empty
    EXPECT_FALSE(findRepositoryRoot("/"));
}

TEST_F(RepositoryResolution, ReportsTheStartWhenThereIsNoRoot) {
    // The start, links resolved, with the file's name.
    tmp.makeDirectory("plain");
    tmp.makeLink("through", "plain");
    auto found = resolveRepository(std::optional<std::string>(tmp / "through/x"));
    ASSERT_FALSE(found);
    EXPECT_EQ(found.error().code, -3001);
    EXPECT_EQ(found.error().path, tmp / "plain/x");
    EXPECT_EQ(found.error().description, "No repository found at: " + tmp / "plain/x");
}
