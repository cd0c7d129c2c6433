#include <gtest/gtest.h>

#include "platform/ShellWords.hpp"

using platform::splitShellWords;
using Words = std::vector<std::string>;

TEST(ShellWords, BlanksSeparateAndQuotesAreUndone) {
    EXPECT_EQ(splitShellWords("git  difftool\tmain dev\n"), (Words{"git", "difftool", "main", "dev"}));
    EXPECT_EQ(splitShellWords("a 'b c' \"d e\" f\\ g"), (Words{"a", "b c", "d e", "f g"}));
    EXPECT_EQ(splitShellWords("x'y'\"z\" '' \"\""), (Words{"xyz", "", ""}));
    EXPECT_EQ(splitShellWords("\"a \\\" \\\\ \\$ \\x\""), (Words{"a \" \\ $ \\x"}));
    EXPECT_EQ(splitShellWords("'it'\\''s'"), (Words{"it's"}));
    EXPECT_EQ(splitShellWords("a\\\nb"), (Words{"ab"}));
    EXPECT_EQ(splitShellWords(""), (Words{}));
}

TEST(ShellWords, NothingIsExpandedOrExecuted) {
    EXPECT_EQ(splitShellWords("$(touch /tmp/x) `id` $HOME ~ * HEAD@{1} a;b"),
              (Words{"$(touch", "/tmp/x)", "`id`", "$HOME", "~", "*", "HEAD@{1}", "a;b"}));
    EXPECT_EQ(splitShellWords("\"$(id)\""), (Words{"$(id)"}));
}

TEST(ShellWords, OpenQuotesAndATrailingBackslashFail) {
    EXPECT_EQ(splitShellWords("git difftool 'main"), std::nullopt);
    EXPECT_EQ(splitShellWords("\"a"), std::nullopt);
    EXPECT_EQ(splitShellWords("a\\"), std::nullopt);
}
