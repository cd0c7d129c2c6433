// Finding the difftool command among the words of git's command line.

#include "cli/GitInvocation.hpp"

#include <gtest/gtest.h>

#include "platform/Strings.hpp"

using namespace varn;
using Words = std::vector<std::string>;

TEST(GitInvocation, DifftoolArgumentsFollowGitsOwnOptions) {
    struct Case {
        Words words;
        std::optional<std::size_t> start;
    } cases[] = {
        {{"/usr/bin/git", "-C", "difftool", "-c", "a.b=c", "--git-dir=/r/.git", "--no-pager", "difftool"}, 8},
        {{"git", "--work-tree", "/r", "--namespace", "n", "difftool"}, 6},
        {{"/usr/libexec/git-core/git-difftool", "main"}, 1},
        {{"/usr/lib/git-core/git", "diff", "difftool"}, std::nullopt},
        {{"/bin/sh", "-c", "git difftool", "git", "difftool"}, std::nullopt},
        {{"git", "-C"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(difftoolArguments(c.words), c.start) << platform::joined(c.words, " ");
}
