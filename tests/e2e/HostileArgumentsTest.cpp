// Command lines and environments no person would type: bytes that are not
// UTF-8, arguments of the longest length the system passes, newlines and
// control characters, absurd screen widths. The tool answers each with its
// usual message and status, and help still renders.

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

class HostileArguments : public ::testing::Test {
protected:
    platform::ProcessOutput varn(const std::vector<std::string>& arguments, EnvironmentChanges changes = {}) {
        changes.emplace("TMPDIR", tmp.path());
        changes.emplace("VARNEL_HOME", std::nullopt);
        changes.emplace("VARNEL_VERBOSE", std::nullopt);
        changes.emplace("COLUMNS", "80");
        return run(varnProgram, arguments, tmp.path(), changes);
    }

    testsupport::TemporaryDirectory tmp;
};

/// The one failure message with the usage after it, as a parse error ends.
void expectUsageError(const platform::ProcessOutput& ran, const std::string& firstLine) {
    EXPECT_EQ(ran.terminationStatus, 64) << ran.standardError;
    EXPECT_EQ(ran.standardOutput, "");
    EXPECT_EQ(ran.standardError.substr(0, firstLine.size() + 1), firstLine + "\n") << ran.standardError;
    EXPECT_NE(ran.standardError.find("\nUsage: varn"), std::string::npos) << ran.standardError;
    EXPECT_NE(ran.standardError.find("  See 'varn"), std::string::npos) << ran.standardError;
}

}  // namespace

TEST_F(HostileArguments, OddOptionsAndValuesGetTheUsualMessages) {
    // Near the kernel's limit for one argument (128 KiB with its NUL).
    const std::string longest(100000, 'x');
    const std::string controls = "\x1b[2J\r\b\x7f\x01";
    struct Case {
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
        {{"diff", "-r"}, "Error: Missing value for '-r <repo>'"},
        {{"diff", "--repo=" + controls}, "Error: Missing expected argument '<revspec-a>'"},
        {{"_mergetool", "--base", "\xff"}, "Error: Missing expected argument '--local <local>'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine.substr(0, 60));
        expectUsageError(varn(c.arguments), c.firstLine);
    }
}

TEST_F(HostileArguments, HelpRendersWhateverTheNamesAndTheWidth) {
    auto plain = varn({"help"});
    ASSERT_EQ(plain.terminationStatus, 0);
    ASSERT_EQ(plain.standardOutput.rfind("OVERVIEW: ", 0), 0u) << plain.standardOutput;
    // A name that is no subcommand stops the lookup where it is.
    for (const std::string& name : {std::string("\xff"), std::string("\n"), std::string(100000, 'm')}) {
        auto ran = varn({"help", name});
        EXPECT_EQ(ran.terminationStatus, 0);
        EXPECT_EQ(ran.standardOutput, plain.standardOutput);
        EXPECT_EQ(ran.standardError, "");
    }
    for (std::string width : {"0", "1", "-1", "7", "2147483647", "-2147483648", "99999999999", "\xff"}) {
        SCOPED_TRACE("COLUMNS=" + width);
        const std::vector<std::vector<std::string>> requests = {{"--help"}, {"diff", "-h"}, {"--help-hidden"}};
        for (const auto& arguments : requests) {
            auto ran = varn(arguments, {{"COLUMNS", width}});
            EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
            EXPECT_EQ(ran.standardError, "");
            EXPECT_NE(ran.standardOutput.find("USAGE: "), std::string::npos) << ran.standardOutput;
        }
        auto failed = varn({"merge"}, {{"COLUMNS", width}});
        EXPECT_EQ(failed.terminationStatus, 64);
        EXPECT_EQ(failed.standardError.rfind("Error: Missing expected argument '<file>'\n", 0), 0u);
    }
}

// What cannot travel in a record or a link is refused; control characters
// reach the application only escaped.
TEST_F(HostileArguments, TextsThatCannotTravelAreRefusedOrEscaped) {
    tmp.makeDirectory("repo/.git");
    auto repo = tmp / "repo";
    auto handed = tmp / "handed";
    auto application = tmp.writeFile("app", recordingScript(handed), true);

    auto merge = varn({"merge", repo + "/\xff.c"}, {{"VARNEL_HOME", application}});
    EXPECT_EQ(merge.terminationStatus, 1);
    EXPECT_EQ(merge.standardError, "Error: Cannot encode the record: a text is not valid UTF-8\n");
    auto diff = varn({"diff", "--repo", repo, "main\xff"}, {{"VARNEL_HOME", application}});
    EXPECT_EQ(diff.terminationStatus, 1);
    EXPECT_EQ(diff.standardError, "Error: No repository found at: " + repo + "\n");
    EXPECT_FALSE(std::filesystem::exists(handed));

    auto escaped = varn({"diff", "--repo", repo, "main", "--", "a\nb\x1b.c"}, {{"VARNEL_HOME", application}});
    EXPECT_EQ(escaped.terminationStatus, 0) << escaped.standardError;
    EXPECT_EQ(awaitFile(handed), "https://open.varnel.app/diff/" + repo + "?revspecA=main&revspecB=a%0Ab%1B.c\n");
}
