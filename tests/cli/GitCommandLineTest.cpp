// Reading git's command line from the process table and taking the
// revisions out of it.

#include <gtest/gtest.h>

#include <unistd.h>

#include "cli/GitRevisions.hpp"
#include "cli/ParentCommandLine.hpp"
#include "cli/QuotedList.hpp"
#include "tests/platform/ScopedChanges.hpp"

using namespace varn;
using testsupport::ScopedVariable;
using testsupport::standardOutputOf;

TEST(GitRevisions, TakenAfterDifftoolAndItsOptions) {
    ScopedVariable quiet("VARNEL_VERBOSE", std::nullopt);
    struct Case {
        std::string line;
        GitRevisions revisions;
    } cases[] = {
        {"git difftool -t mytool main dev -- a.txt", {"main", "dev"}},
        {"git difftool --tool=mytool -y main dev", {"main", "dev"}},
        {"git diff main", {}},
        {"/usr/bin/git -C /r difftool --rotate-to a.txt --skip-to=b.txt -x cmp main", {"main", std::nullopt}},
        {"git difftool -y -- a.txt b.txt", {}},
        {"git difftool --tool", {}},
        {"git difftool 'feature branch' \"v1.0\" extra", {"feature branch", "v1.0"}},
        {"git difftool \"main dev", {}},
        {"git difftool main dev\\", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseGitRevisions(c.line), c.revisions) << c.line;
}

TEST(QuotedList, BracketsAndQuotesEachText) {
    EXPECT_EQ(quotedList({}), "[]");
    EXPECT_EQ(quotedList({""}), "[\"\"]");
    EXPECT_EQ(quotedList({"a b", "c\\d", "e\tf"}), "[\"a b\", \"c\\\\d\", \"e\\tf\"]");
}

TEST(ParentCommandLine, SplitsAtEveryNewlineCharacterKeepingEmptyPieces) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitLines(""), Lines{""});
    EXPECT_EQ(splitLines("git difftool a b\n"), (Lines{"git difftool a b", ""}));
    EXPECT_EQ(splitLines("a\r\nb\x0B" "c\x0C" "d"), (Lines{"a", "", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d\xE2\x80\xA6"),
              (Lines{"a", "b", "c", "d\xE2\x80\xA6"}));
}

TEST(ParentCommandLine, ReadsTheProcessTableThroughTheShell) {
    ScopedVariable verbose("VARNEL_VERBOSE", "1");
    // A narrow COLUMNS would make ps cut the line.
    ScopedVariable narrow("COLUMNS", "12");
    std::optional<std::string> line;
    auto printed = standardOutputOf([&] { line = parentCommandLine(::getpid()); });
    ASSERT_TRUE(line);
    EXPECT_NE(line->find("cli_tests"), std::string::npos) << *line;
    EXPECT_GT(line->size(), 12u) << *line;
    EXPECT_EQ(printed, "Lines: " + quotedList({*line, ""}) + "\n");

    // No such process: ps prints nothing.
    printed = standardOutputOf([&] { line = parentCommandLine(0x7FFFFFF0); });
    EXPECT_EQ(line, std::nullopt);
    EXPECT_EQ(printed, "Lines: [\"\", \"\"]\n");
}
