// Word wrapping, continuation indents and the width help is laid out for.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>

#include "ArgumentParser/TerminalSize.hpp"
#include "ArgumentParser/TextWrapping.hpp"

using namespace ap;

TEST(Wrapping, BreaksAtTheLastSpaceOfAnExactWindow) {
    // "aaaa bbbb" is exactly 9 wide, but the window is 9 characters and the
    // character after it is a space, so "bbbb" still moves down.
    EXPECT_EQ(wrapped("aaaa bbbb cc", 9), "aaaa\nbbbb cc");
    EXPECT_EQ(wrapped("aaaa bbbb", 9), "aaaa bbbb");
    EXPECT_EQ(wrapped("aaaa bbbb cc", 11, 2), "  aaaa\n  bbbb cc");
    // A word longer than the window keeps a line of its own.
    EXPECT_EQ(wrapped("abcdefghij klm nop", 5), "abcdefghij\nklm\nnop");
    EXPECT_EQ(wrapped("abcdefghij", 5), "abcdefghij");
}

TEST(Wrapping, KeepsNewlinesAndEmptyLines) {
    EXPECT_EQ(wrapped("one\n\ntwo", 20, 3), "   one\n\n   two");
    EXPECT_EQ(wrapped("one\n", 20), "one\n");
    EXPECT_EQ(wrapped("", 20), "");
    // Only the last newline of a window breaks there; earlier ones split too.
    EXPECT_EQ(wrapped("a\nb\nc d e f g", 6), "a\nb\nc d e\nf g");
}

TEST(Wrapping, NothingFitsBelowOneColumn) {
    EXPECT_EQ(wrapped("text", 4, 4), "");
    EXPECT_EQ(wrapped("text", 0), "");
    EXPECT_EQ(wrapped("t", 5, 4), "    t");
    // COLUMNS may hold any int; the width less the indent must not overflow.
    EXPECT_EQ(wrapped("text", std::numeric_limits<int>::min(), 26), "");
    EXPECT_EQ(wrapped("a b", std::numeric_limits<int>::max(), 8), "        a b");
}

TEST(Wrapping, CountsUserPerceivedCharacters) {
    // "é" written as e and a combining accent is one character, "…" too.
    const std::string text = "e\u0301e\u0301e\u0301 \u2026\u2026 x";
    EXPECT_EQ(wrapped(text, 8), text);
    EXPECT_EQ(wrapped(text, 6), "e\u0301e\u0301e\u0301\n\u2026\u2026 x");
    // A space with an accent on it is no place to break.
    EXPECT_EQ(wrapped("a \u0301b c", 3), "a \u0301b\nc");
    for (int width = 1; width < 12; ++width) {
        auto multi = wrapped(text, width, 1);
        auto single = wrapped("eee .. x", width, 1);
        std::string back;
        for (char c : single) back += c == 'e' ? "e\u0301" : c == '.' ? "\u2026" : std::string(1, c);
        EXPECT_EQ(multi, back) << width;
    }
}

TEST(Wrapping, ContinuationLinesAndIndents) {
    EXPECT_EQ(indentingContinuationLines("one", 7), "one");
    EXPECT_EQ(indentingContinuationLines("one\ntwo\n\nthree", 7), "one\n       two\n\n       three");
    EXPECT_EQ(indented("a\n\nb", 2), "  a\n\n  b");
}

TEST(TerminalSize, ParsesSignedDecimals) {
    EXPECT_EQ(parseTerminalDimension("100"), 100);
    EXPECT_EQ(parseTerminalDimension("+90"), 90);
    EXPECT_EQ(parseTerminalDimension("-3"), -3);
    for (const char* bad : {"", "abc", "12x", " 12", "+", "+-1", "99999999999"})
        EXPECT_EQ(parseTerminalDimension(bad), std::nullopt) << bad;
    EXPECT_EQ(parseTerminalDimension(nullptr), std::nullopt);
}

namespace {

// The width seen by a child whose standard output is a file, not a terminal.
int widthInChild(const char* columns) {
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        int out = open("/dev/null", O_WRONLY);
        dup2(out, STDOUT_FILENO);
        if (columns) setenv("COLUMNS", columns, 1);
        else unsetenv("COLUMNS");
        int width = terminalWidth();
        (void)!write(fds[1], &width, sizeof width);
        _exit(0);
    }
    close(fds[1]);
    int width = -1;
    (void)!read(fds[0], &width, sizeof width);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return width;
}

}  // namespace

TEST(TerminalSize, ColumnsWinsThenTheTerminalThenEighty) {
    // Which texts of the variable count is checked by ParsesSignedDecimals.
    EXPECT_EQ(widthInChild("100"), 100);
    EXPECT_EQ(widthInChild("abc"), 80);
    EXPECT_EQ(widthInChild(nullptr), 80);
    EXPECT_EQ(queryTerminalSize(-1).columns, std::nullopt);
}
