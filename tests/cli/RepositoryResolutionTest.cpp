// The search for a repository's root where a run of the tool cannot show
// it: paths too long to look up, what a `.git` file must say, and a link's
// parents. The roots and failures of ordinary runs are checked end to end.

#include "cli/RepositoryResolution.hpp"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TemporaryDirectory.hpp"

using namespace varn;

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
// included, is passed over for the enclosing root. The search goes upward
// from the path as given: a link's parents, not its destination's.
TEST_F(RepositoryResolution, AGitFileMakesARootWhenItNamesAnExistingDirectory) {
    tmp.makeLink("link", "project/src");
    EXPECT_EQ(findRepositoryRoot(tmp / "link/deeper"), std::nullopt);
    EXPECT_EQ(findRepositoryRoot(tmp / "project/src/deeper/missing.c"), root);
    auto worktree = tmp / "project/worktree";
    auto sub = tmp.makeDirectory("project/worktree/sub");
    struct {
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
        EXPECT_EQ(findRepositoryRoot(sub), c.isRoot ? worktree : root) << c.contents.substr(0, 40);
    }
    std::filesystem::remove(worktree + "/.git");
    ASSERT_EQ(::mkfifo((worktree + "/.git").c_str(), 0600), 0);
    EXPECT_EQ(findRepositoryRoot(sub), root);
    EXPECT_TRUE(isRepositoryRoot(root));  // its `.git` is empty
    EXPECT_FALSE(findRepositoryRoot("/"));
}
