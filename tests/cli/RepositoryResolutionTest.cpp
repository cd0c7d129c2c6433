#include "cli/RepositoryResolution.hpp"

#include <gtest/gtest.h>

#include "cli/HasRepoParam.hpp"
#include "cli/ToolErrors.hpp"
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

TEST_F(RepositoryResolution, FindsTheWorkTreeRootAbove) {
    ScopedCurrentDirectory cwd(deeper);
    EXPECT_EQ(resolveRepository(RepoCommand{}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"."}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"../.."}).value(), root);
    // A file inside, present or not, resolves to the root as well.
    tmp.writeFile("project/src/file.c", "");
    EXPECT_EQ(resolveRepository(RepoCommand{"../file.c"}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"not/there.c"}).value(), root);
    EXPECT_EQ(findRepositoryRoot(root), root);
}

TEST_F(RepositoryResolution, ExpandsTildeAndResolvesLinks) {
    ScopedVariable home("HOME", tmp.path());
    tmp.makeLink("link", "project/src");
    tmp.makeLink("elsewhere/absolute", tmp / "project");
    EXPECT_EQ(resolveRepository(RepoCommand{"~/project/src"}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{"~/link/deeper"}).value(), root);
    EXPECT_EQ(resolveRepository(RepoCommand{tmp / "elsewhere/absolute"}).value(), root);
    EXPECT_EQ(absoluteFileURL("~/link/deeper/"), deeper);
}

TEST_F(RepositoryResolution, OnlyAGitDirectoryMakesARoot) {
    // A linked worktree's `.git` is a file: the search goes on upward.
    tmp.writeFile("project/worktree/.git", "gitdir: elsewhere\n");
    tmp.makeDirectory("project/worktree/sub");
    EXPECT_EQ(resolveRepository(RepoCommand{tmp / "project/worktree/sub"}).value(), root);
    EXPECT_FALSE(isRepositoryRoot(tmp / "project/worktree"));
    EXPECT_TRUE(isRepositoryRoot(root));  // its `.git` is empty
    EXPECT_FALSE(isRepositoryRoot(tmp / "project/.git/missing"));
    EXPECT_FALSE(findRepositoryRoot("/"));
}

TEST_F(RepositoryResolution, NothingFoundNamesTheLinkFreeStart) {
    auto plain = tmp.makeDirectory("plain/sub");
    tmp.writeFile("plain/.git", "gitdir: elsewhere\n");
    tmp.makeLink("through", "plain");
    struct Case {
        std::optional<std::string> repo;
        std::string reported;
    } cases[] = {{std::nullopt, plain}, {"../../through/sub/", plain}, {tmp / "through/sub/x", plain + "/x"}};
    ScopedCurrentDirectory cwd(plain);
    for (const auto& c : cases) {
        auto found = resolveRepository(c.repo);
        ASSERT_FALSE(found) << c.reported;
        EXPECT_EQ(found.error().domain, "NSURLErrorDomain");
        EXPECT_EQ(found.error().code, -3001);
        EXPECT_EQ(found.error().path, c.reported);
        EXPECT_EQ(found.error().description, "No repository found at: " + c.reported);
    }
    EXPECT_EQ(invalidPathError("/a/b.c").description, "Invalid path: /a/b.c");
    EXPECT_EQ(invalidPathError("/a/b.c").code, -3001);
}
