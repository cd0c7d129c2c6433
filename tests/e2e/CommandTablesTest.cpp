// The tool's screens, messages and scripts, and the stand-in launcher's
// usage, as tables of command lines with the status and texts each must end
// with: cases/*.cases, whose first lines say how a row reads. Then command
// lines whose texts are easier made than written down.

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/EndToEnd.hpp"

using namespace testsupport;

namespace {

const std::string casesDirectory = VARN_SOURCE_DIR "/tests/e2e/cases/";

struct Case {
    std::string name;  // the table's and the line's
    int status = 0;
    std::string standardOutput, standardError, command;
};

std::vector<Case> readCases() {
    std::vector<Case> cases;
    for (std::string table : {"help", "refusals", "scripts"}) {
        std::ifstream in(casesDirectory + table + ".cases");
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            if (line.empty() || line[0] == '#') continue;
            Case c{table + "_" + std::to_string(number)};
            std::istringstream fields(line);
            fields >> c.status >> c.standardOutput >> c.standardError >> std::ws;
            std::getline(fields, c.command);
            for (; c.command.ends_with("\\") && std::getline(in, line); ++number) c.command += "\n" + line;
            cases.push_back(c);
        }
    }
    return cases;
}

/// A row as a failure names it: where it is and what it runs.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name << ": " << c.command; }

class CommandTable : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(CommandTable, EndsAsTheRowSays) {
    const auto& c = GetParam();
    TemporaryDirectory directory;
    EnvironmentChanges environment{{"HOME", directory.path()}, {"TMPDIR", directory.path()},
                                   {"COLUMNS", "80"},          {"PATH", binaryDirectory + ":" + std::getenv("PATH")},
                                   {"BUILD", VARN_BUILD_DIR},  {"CMAKE", VARN_CMAKE_COMMAND}};
    for (auto name : {"SHELL", "LINES", "VARNEL_HOME", "VARNEL_VERBOSE", "VARNEL_STUB_MERGE", "VARNEL_STUB_LOG"})
        environment.emplace(name, std::nullopt);
    auto ran = run("/bin/bash", {"-o", "pipefail", "-c", c.command}, directory.path(), environment);
    EXPECT_EQ(ran.terminationStatus, c.status) << c.command << "\n" << ran.standardError;
    for (auto [text, expected] :
         {std::pair{ran.standardOutput, c.standardOutput}, {ran.standardError, c.standardError}})
        EXPECT_EQ(text, expected == "-" ? "" : readFile(casesDirectory + expected)) << expected << ": " << c.command;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandTable, ::testing::ValuesIn(readCases()),
                         [](const auto& info) { return info.param.name; });

// Options and values no person would type get the usual messages: bytes
// that are not UTF-8, arguments near the longest the system passes (128 KiB
// with the NUL), newlines and control characters.
TEST(HostileArguments, GetTheUsualMessages) {
    const std::string longest(100000, 'x'), controls = "\x1b[2J\r\b\x7f\x01";
    struct {
        std::vector<std::string> arguments;
        std::string firstLine;
    } cases[] = {
        {{"--\xff\xfe"}, "Error: Unknown option '--\xff\xfe'"},
        {{"-\xc3"}, "Error: Unknown option '-\xc3'"},
        {{"-\n"}, "Error: Unknown option '-\n'"},
        {{"--" + longest}, "Error: Unknown option '--" + longest + "'"},
        {{"merge", "--file\nname", "a.c"}, "Error: Unknown option '--file\nname'"},
        {{"merge", "a", "b\nc"}, "Error: Unexpected argument 'b\nc'"},
        {{"merge", "a", controls}, "Error: Unexpected argument '" + controls + "'"},
        {{"merge", "a", longest}, "Error: Unexpected argument '" + longest + "'"},
        {{"diff", "--repo"}, "Error: Missing value for '--repo <repo>'"},
        {{"diff", "--repo=" + controls}, "Error: Missing expected argument '<revspec-a>'"},
        {{"_mergetool", "--base", "\xff"}, "Error: Missing expected argument '--local <local>'"},
    };
    TemporaryDirectory directory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine.substr(0, 60));
        auto ran = run(varnProgram, c.arguments, directory.path(), {{"COLUMNS", "80"}, {"TMPDIR", directory.path()}});
        EXPECT_EQ(ran.terminationStatus, 64);
        EXPECT_EQ(ran.standardOutput, "");
        EXPECT_TRUE(ran.standardError.starts_with(c.firstLine + "\n")) << ran.standardError;
        EXPECT_NE(ran.standardError.find("\nUsage: varn"), std::string::npos) << ran.standardError;
    }
}
