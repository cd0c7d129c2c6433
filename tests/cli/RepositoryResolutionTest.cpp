#include "cli/RepositoryResolution.hpp"

#include <gtest/gtest.h>

#include "cli/HasRepoParam.hpp"
#include "tests/platform/ScopedChanges.hpp"
#include "tests/platform/TemporaryDirectory.hpp"

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
}

TEST_F(RepositoryResolution, OnlyAGitDirectoryMakesARoot) {
    // A linked worktree's `.git` is a file: the search goes on upward.
    tmp.writeFile("project/worktree/.git", "gitdir: elsewhere\n");
    tmp.makeDirectory("project/worktree/sub");
    EXPECT_EQ(resolveRepository(RepoCommand{tmp / "project/worktree/sub"}).value(), root);
    EXPECT_FALSE(isRepositoryRoot(tmp / "project/worktree"));
    EXPECT_TRUE(isRepositoryRoot(root));  // its `.git` is empty
    EXPECT_FALSE(findRepositoryRoot("/"));

    // What is reported is the start, links resolved, with the file's name.
    tmp.makeDirectory("plain");
    tmp.makeLink("through", "plain");
    auto found = resolveRepository(std::optional<std::string>(tmp / "through/x"));
    ASSERT_FALSE(found);
    EXPECT_EQ(found.error().code, -3001);
    EXPECT_EQ(found.error().path, tmp / "plain/x");
    EXPECT_EQ(found.error().description, "No repository found at: " + tmp / "plain/x");
}
