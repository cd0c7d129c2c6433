// The revisions a git difftool command compares, taken out of its words.

#include "cli/GitRevisions.hpp"

#include <gtest/gtest.h>

#include "platform/Strings.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace varn;
using Words = std::vector<std::string>;

TEST(GitRevisions, TakenAsGitReadsThem) {
    testsupport::ScopedVariable quiet("VARNEL_VERBOSE", std::nullopt);
    testsupport::TemporaryDirectory start;
    start.writeFile("a.txt", "");
    start.makeDirectory("sub");
    struct Case {
        Words arguments;
        GitRevisions revisions;
    } cases[] = {
        {{"-t", "mytool", "main", "dev", "--", "a.txt"}, {"main", "dev"}},
        {{"--tool=mytool", "-y", "main", "--extcmd", "my tool", "dev", "extra"}, {"main", "dev"}},
        {{"--rotate-to", "a.txt", "--skip-to=main", "-x", "cmp", "main"}, {"main", std::nullopt}},
        // git diff's options too, in groups of letters where the last takes
        // the next word; an optional value never does.
        {{"-yS", "text", "--diff-filter", "M", "-n", "3", "main", "-Ol", "--relative", "dev"}, {"main", "dev"}},
        // The first word that names a file or directory starts the paths.
        {{"main", "a.txt", "dev"}, {"main", std::nullopt}},
        {{"sub", "main"}, {}},
        {{"main", start / "a.txt"}, {"main", std::nullopt}},
        {{"main", "missing.txt"}, {"main", "missing.txt"}},
        // A range gives both of its sides.
        {{"v1...v3"}, {"v1", "v3"}},
        {{"..v3"}, {"HEAD", "v3"}},
        {{"v1.."}, {"v1", "HEAD"}},
        {{"-y", "--", "a.txt", "b.txt"}, {}},
        {{"--tool"}, {}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseGitRevisions(c.arguments, start.path()), c.revisions) << platform::joined(c.arguments, " ");
}
