// Command lines run by /bin/sh, as a user runs a tool, each case of the
// transcripts beside this file a test of its own:
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

/// One case of a transcript; line 0 stands for a transcript that could not
/// be read or held no case.
struct Row {
    std::string file;
    int line = 0;
    std::string commandLine, stream, expected;
    int status = 0;
    bool prefixOnly = false;
};

std::vector<Row> readTranscript(const std::string& name) {
    std::ifstream in(std::string(VARN_SOURCE_DIR) + "/tests/ArgumentParser/transcripts/" + name);
    std::vector<Row> rows;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.starts_with("# ")) continue;
        if (!line.starts_with("$ ")) {
            if (!rows.empty()) rows.back().expected += line + "\n";
            continue;
        }
        auto arrow = line.find(" => "), bar = line.find(" | ", arrow);
        Row row{name, number, line.substr(2, arrow - 2)};
        std::istringstream(line.substr(arrow + 4, bar - arrow - 4)) >> row.status >> row.stream;
        if (bar != std::string::npos) row.expected = line.substr(bar + 3) + "\n";
        rows.push_back(std::move(row));
    }
    const std::string ellipsis = " \u2026\n";
    for (auto& row : rows)
        if ((row.prefixOnly = row.expected.ends_with(ellipsis)))
            row.expected.erase(row.expected.size() - ellipsis.size(), 4);
    if (rows.empty()) rows.push_back({name});
    return rows;
}

// A case is named by its transcript and line (help/Transcript.Line/12); CTest
// names it with its command line too, as GoogleTest prints the row.
class Transcript : public ::testing::TestWithParam<Row> {};

void PrintTo(const Row& row, std::ostream* out) { *out << row.line << ": " << row.commandLine; }

std::string lineName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.line ? std::to_string(info.param.line) : "unread";
}

TEST_P(Transcript, Line) {
    const auto& row = GetParam();
    ASSERT_NE(row.line, 0) << "no case read from " << row.file;
    SCOPED_TRACE(row.file + ":" + std::to_string(row.line) + ": $ " + row.commandLine);
    testsupport::TemporaryDirectory tmp;
    // Each tree's tool is this test program (see Main.cpp).
    auto self = shelldriver::shellQuoted(std::filesystem::read_symlink("/proc/self/exe").string());
    for (std::string tree : {"url-names", "parse", "layout", "plain", "plugin", "kit", "loop", "empty-short"})
        tmp.writeFile("bin/" + tree, "#!/bin/sh\nAP_TEST_TREE=" + tree + " exec " + self + " \"$@\"\n", true);
    auto run = shelldriver::run("cd " + shelldriver::shellQuoted(tmp.path()) +
                                " && export PATH=\"$PWD/bin:$PATH\" COLUMNS=80 && unset SHELL && { " + row.commandLine +
                                "; } >out " + (row.stream == "both" ? "2>&1" : "2>err"));
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.output, "");
    auto out = testsupport::readFile(tmp / "out"), err = row.stream == "both" ? "" : testsupport::readFile(tmp / "err");
    if (row.stream == "stderr") std::swap(out, err);
    EXPECT_EQ(err, "");
    EXPECT_EQ(row.prefixOnly ? out.substr(0, row.expected.size()) : out, row.expected);
}

INSTANTIATE_TEST_SUITE_P(parsing, Transcript, ::testing::ValuesIn(readTranscript("parsing.txt")), lineName);
INSTANTIATE_TEST_SUITE_P(messages, Transcript, ::testing::ValuesIn(readTranscript("messages.txt")), lineName);
INSTANTIATE_TEST_SUITE_P(help, Transcript, ::testing::ValuesIn(readTranscript("help.txt")), lineName);
INSTANTIATE_TEST_SUITE_P(requests, Transcript, ::testing::ValuesIn(readTranscript("requests.txt")), lineName);

}  // namespace
