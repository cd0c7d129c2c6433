// Command lines run by /bin/sh, as a user runs a tool, case after case from
// the transcripts beside this file:
//
//   # a note
//   $ <shell command line starting a tree's tool by the tree's name> => <status> [stdout|stderr|both] [| <first line>]
//   <what it prints, line by line (the first may end the command's line); a
//    " …" ending the last line stands for whatever follows>
//
// The output is what the named stream received, the other one staying
// empty; "both" is the two streams written to one file; no stream means
// nothing printed. COLUMNS is 80 and SHELL unset unless a case sets them.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/ShellDriver.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace {

struct Case {
    int line = 0;
    std::string commandLine, stream, expected;
    int status = 0;
    bool prefixOnly = false;
};

std::vector<Case> readTranscript(const std::string& name) {
    std::ifstream in(std::string(VARN_SOURCE_DIR) + "/tests/ArgumentParser/transcripts/" + name);
    std::vector<Case> cases;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.starts_with("# ")) continue;
        if (!line.starts_with("$ ")) {
            if (!cases.empty()) cases.back().expected += line + "\n";
            continue;
        }
        auto arrow = line.find(" => "), bar = line.find(" | ", arrow);
        Case c{number, line.substr(2, arrow - 2)};
        std::istringstream(line.substr(arrow + 4, bar - arrow - 4)) >> c.status >> c.stream;
        if (bar != std::string::npos) c.expected = line.substr(bar + 3) + "\n";
        cases.push_back(std::move(c));
    }
    const std::string ellipsis = " \u2026\n";
    for (auto& c : cases)
        if ((c.prefixOnly = c.expected.ends_with(ellipsis))) c.expected.erase(c.expected.size() - ellipsis.size(), 4);
    EXPECT_FALSE(cases.empty()) << name;
    return cases;
}

void check(const std::string& transcript) {
    testsupport::TemporaryDirectory tmp;
    // Each tree's tool is this test program (see Main.cpp).
    auto self = shelldriver::shellQuoted(std::filesystem::read_symlink("/proc/self/exe").string());
    for (std::string tree : {"url-names", "parse", "layout", "plain", "plugin", "kit", "loop", "empty-short"})
        tmp.writeFile("bin/" + tree, "#!/bin/sh\nAP_TEST_TREE=" + tree + " exec " + self + " \"$@\"\n", true);
    for (const auto& c : readTranscript(transcript)) {
        SCOPED_TRACE(transcript + ":" + std::to_string(c.line) + ": $ " + c.commandLine);
        auto run = shelldriver::run("cd " + shelldriver::shellQuoted(tmp.path()) +
                                    " && export PATH=\"$PWD/bin:$PATH\" COLUMNS=80 && unset SHELL && { " +
                                    c.commandLine + "; } >out " + (c.stream == "both" ? "2>&1" : "2>err"));
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.output, "");
        auto out = testsupport::readFile(tmp / "out"),
             err = c.stream == "both" ? "" : testsupport::readFile(tmp / "err");
        if (c.stream == "stderr") std::swap(out, err);
        EXPECT_EQ(err, "");
        EXPECT_EQ(c.prefixOnly ? out.substr(0, c.expected.size()) : out, c.expected);
    }
}

}  // namespace

TEST(Transcripts, Run) {
    for (auto name : {"parsing.txt", "messages.txt", "help.txt", "requests.txt"}) check(name);
}
