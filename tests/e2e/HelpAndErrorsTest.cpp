// What the real tool prints for help requests and for command lines it
// refuses: the exact bytes, the stream and the exit status, at 80 columns.
// Then command lines and environments no person would type: bytes that are
// not UTF-8, arguments of the longest length the system passes, newlines and
// control characters, absurd screen widths. The tool answers each with its
// usual message and status, and help still renders.

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

/// varn run in `directory` (a fresh one if none), with TMPDIR there too;
/// after the bash commands `prepare`, when there are any.
platform::ProcessOutput runVarn(std::vector<std::string> arguments, EnvironmentChanges changes = {},
                                std::string directory = {}, const std::string& prepare = {}) {
    testsupport::TemporaryDirectory fresh;
    if (directory.empty()) directory = fresh.path();
    for (auto name : {"LINES", "VARNEL_HOME", "VARNEL_VERBOSE"}) changes.emplace(name, std::nullopt);
    changes.emplace("COLUMNS", "80");
    changes.emplace("TMPDIR", directory);
    if (prepare.empty()) return run(varnProgram, arguments, directory, changes);
    arguments.insert(arguments.begin(), {"-c", prepare + "; exec \"$0\" \"$@\"", varnProgram});
    return run("/bin/bash", arguments, directory, changes);
}

std::string joined(const std::vector<std::string>& words) {
    std::string text = "varn";
    for (const auto& word : words) text += " " + word;
    return text;
}

const std::string rootHelp = R"(OVERVIEW: Open a repository or conflicted files in Varnel.

USAGE: varn <subcommand>

OPTIONS:
  -h, --help              Show help information.

SUBCOMMANDS:
  open (default)          Open a repository in Varnel
  merge                   Open conflicted file in Varnel's merge tool.
  diff                    Compare files between 2 revisions.

  See 'varn help <subcommand>' for detailed help.
)";

// The first abstract fills the column exactly; the next one's last word
// would end at column 80 and so moves to the next line.
const std::string diffHelp = R"(OVERVIEW: Compare files between 2 revisions.

USAGE: varn diff [--repo <repo>] <revspec-a> [<revspec-b>] [<paths> ...]

ARGUMENTS:
  <revspec-a>             First commit to compare. (Branch name, tag, SHA, etc…)
  <revspec-b>             Second commit to compare. If omitted, commit-a will
                          be compared to the working directory.
  <paths>                 Files to compare. Relative to the root of the
                          repository's work tree.

OPTIONS:
  -r, --repo <repo>       The path to the repository.
  -h, --help              Show help information.

)";

const std::string openHelp = R"(OVERVIEW: Open a repository in Varnel

USAGE: varn open [<repo>]

ARGUMENTS:
  <repo>                  The path of the repository to open.

OPTIONS:
  -h, --help              Show help information.

)";

const std::string mergeHelp = R"(OVERVIEW: Open conflicted file in Varnel's merge tool.

USAGE: varn merge <file>

ARGUMENTS:
  <file>                  The conflicted files to open.

OPTIONS:
  -h, --help              Show help information.

)";

// Options without help keep their label alone on the line.
const std::string mergetoolHelp = R"(OVERVIEW: Used by 'git mergetool'. You probably want 'varn merge …' instead.

USAGE: varn _mergetool --base <base> --local <local> --remote <remote> --merged <merged>

OPTIONS:
  --base <base>
  --local <local>
  --remote <remote>
  --merged <merged>
  -h, --help              Show help information.

)";

const std::string mergetoolUsage =
    "Usage: varn _mergetool --base <base> --local <local> --remote <remote> --merged <merged>\n"
    "  See 'varn _mergetool --help' for more information.\n";
const std::string openUsage =
    "Usage: varn open [<repo>]\n"
    "  See 'varn open --help' for more information.\n";

/// The one failure message with the usage after it, as a parse error ends.
void expectUsageError(const platform::ProcessOutput& ran, const std::string& firstLine) {
    EXPECT_EQ(ran.terminationStatus, 64) << ran.standardError;
    EXPECT_EQ(ran.standardOutput, "");
    EXPECT_EQ(ran.standardError.substr(0, firstLine.size() + 1), firstLine + "\n") << ran.standardError;
    EXPECT_NE(ran.standardError.find("\nUsage: varn"), std::string::npos) << ran.standardError;
    EXPECT_NE(ran.standardError.find("  See 'varn"), std::string::npos) << ran.standardError;
}

}  // namespace

TEST(HelpScreens, GoToStandardOutputWithStatusZero) {
    struct Case {
        std::vector<std::string> arguments;
        const std::string& text;
    } cases[] = {
        {{"--help"}, rootHelp},
        {{"help"}, rootHelp},
        {{"help", "diff"}, diffHelp},
        {{"diff", "--help"}, diffHelp},
        {{"_mergetool", "--help"}, mergetoolHelp},
        // A path and a help request go on to the default subcommand.
        {{"some/path", "--help"}, openHelp},
        {{"help", "merge"}, mergeHelp},
        // A help request wins over a missing argument; a name that is no
        // subcommand ends the walk.
        {{"merge", "-h"}, mergeHelp},
        {{"help", "nosuch", "diff"}, rootHelp},
        // A help request wins over the missing options.
        {{"_mergetool", "--base", "b", "-h"}, mergetoolHelp},
    };
    for (const auto& c : cases) {
        auto ran = runVarn(c.arguments);
        EXPECT_EQ(ran.terminationStatus, 0) << joined(c.arguments);
        EXPECT_EQ(ran.standardOutput, c.text) << joined(c.arguments);
        EXPECT_EQ(ran.standardError, "") << joined(c.arguments);
    }
}

// Output that does not arrive is no success, however it is lost.
TEST(HelpScreens, OutputThatCannotBeWrittenIsAFailure) {
    struct Case {
        std::string prepare;
        std::string reason;
    } cases[] = {
        {"exec >/dev/full", "No space left on device"},
        {"exec >&-", "Bad file descriptor"},
        {"exec > >(exec true); wait $!", "Broken pipe"},  // a pipe nobody reads any more
    };
    for (const auto& c : cases) {
        for (const std::vector<std::string>& request : {std::vector<std::string>{"--help"},
                                                        {"--generate-completion-script", "bash"}}) {
            auto ran = runVarn(request, {}, {}, c.prepare);
            EXPECT_EQ(ran.terminationStatus, 1) << c.prepare << " " << joined(request);
            EXPECT_EQ(ran.standardError, "Error: Cannot write to standard output: " + c.reason + "\n") << c.prepare;
        }
    }
}

TEST(ParseErrors, GoToStandardErrorWithTheUsageAndStatus64) {
    struct Case {
        std::vector<std::string> arguments;
        std::string text;
    } cases[] = {
        // Leaving out any one of the four files; the first missing one is named.
        {{"_mergetool", "--base", "b", "--local", "l", "--remote", "r"},
         "Error: Missing expected argument '--merged <merged>'\nHelp:  --merged <merged>  \n" + mergetoolUsage},
        {{"_mergetool", "--base", "b", "--remote", "r", "--merged", "m"},
         "Error: Missing expected argument '--local <local>'\nHelp:  --local <local>  \n" + mergetoolUsage},
        {{"_mergetool", "--base", "b", "--local", "l", "--merged", "m"},
         "Error: Missing expected argument '--remote <remote>'\nHelp:  --remote <remote>  \n" + mergetoolUsage},
        {{"_mergetool"}, "Error: Missing expected argument '--base <base>'\nHelp:  --base <base>  \n" + mergetoolUsage},
        {{"_mergetool", "--local", "l", "--remote", "r", "--merged", "m", "--base"},
         "Error: Missing value for '--base <base>'\nHelp:  --base <base>  \n" + mergetoolUsage},
        // git's file names are taken whatever they look like, so this is the base.
        {{"_mergetool", "--base", "--help"},
         "Error: Missing expected argument '--local <local>'\nHelp:  --local <local>  \n" + mergetoolUsage},
        // No version is declared, so the flag is unknown to the default
        // subcommand, the deepest command reached.
        {{"--version"}, "Error: Unknown option '--version'\n" + openUsage},
        {{"repo", "extra"}, "Error: Unexpected argument 'extra'\n" + openUsage},
        {{"diff"},
         "Error: Missing expected argument '<revspec-a>'\n"
         "Help:  <revspec-a>  First commit to compare. (Branch name, tag, SHA, etc…)\n"
         "Usage: varn diff [--repo <repo>] <revspec-a> [<revspec-b>] [<paths> ...]\n"
         "  See 'varn diff --help' for more information.\n"},
        {{"diff", "--rep", "r", "main"},
         "Error: Unknown option '--rep'. Did you mean '--repo'?\n"
         "Usage: varn diff [--repo <repo>] <revspec-a> [<revspec-b>] [<paths> ...]\n"
         "  See 'varn diff --help' for more information.\n"},
    };
    for (const auto& c : cases) {
        auto ran = runVarn(c.arguments);
        EXPECT_EQ(ran.terminationStatus, 64) << joined(c.arguments);
        EXPECT_EQ(ran.standardOutput, "") << joined(c.arguments);
        EXPECT_EQ(ran.standardError, c.text) << joined(c.arguments);
    }
}

TEST(HostileArguments, OddOptionsAndValuesGetTheUsualMessages) {
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
        expectUsageError(runVarn(c.arguments), c.firstLine);
    }
}

TEST(HostileArguments, HelpRendersWhateverTheNamesAndTheWidth) {
    auto plain = runVarn({"help"});
    ASSERT_EQ(plain.terminationStatus, 0);
    ASSERT_EQ(plain.standardOutput.rfind("OVERVIEW: ", 0), 0u) << plain.standardOutput;
    // A name that is no subcommand stops the lookup where it is.
    for (const std::string& name : {std::string("\xff"), std::string("\n"), std::string(100000, 'm')}) {
        auto ran = runVarn({"help", name});
        EXPECT_EQ(ran.terminationStatus, 0);
        EXPECT_EQ(ran.standardOutput, plain.standardOutput);
        EXPECT_EQ(ran.standardError, "");
    }
    for (std::string width : {"0", "1", "-1", "7", "2147483647", "-2147483648", "99999999999", "\xff"}) {
        SCOPED_TRACE("COLUMNS=" + width);
        const std::vector<std::vector<std::string>> requests = {{"--help"}, {"diff", "-h"}, {"--help-hidden"}};
        for (const auto& arguments : requests) {
            auto ran = runVarn(arguments, {{"COLUMNS", width}});
            EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
            EXPECT_EQ(ran.standardError, "");
            EXPECT_NE(ran.standardOutput.find("USAGE: "), std::string::npos) << ran.standardOutput;
        }
        auto failed = runVarn({"merge"}, {{"COLUMNS", width}});
        EXPECT_EQ(failed.terminationStatus, 64);
        EXPECT_EQ(failed.standardError.rfind("Error: Missing expected argument '<file>'\n", 0), 0u);
    }
}

// What cannot travel in a record or a link is refused; control characters
// reach the application only escaped.
TEST(HostileArguments, TextsThatCannotTravelAreRefusedOrEscaped) {
    testsupport::TemporaryDirectory tmp;
    tmp.makeDirectory("repo/.git");
    auto repo = tmp / "repo";
    auto handed = tmp / "handed";
    auto application = tmp.writeFile("app", recordingScript(handed), true);

    auto merge = runVarn({"merge", repo + "/\xff.c"}, {{"VARNEL_HOME", application}}, tmp.path());
    EXPECT_EQ(merge.terminationStatus, 1);
    EXPECT_EQ(merge.standardError, "Error: Cannot encode the record: a text is not valid UTF-8\n");
    auto diff = runVarn({"diff", "--repo", repo, "main\xff"}, {{"VARNEL_HOME", application}}, tmp.path());
    EXPECT_EQ(diff.terminationStatus, 1);
    EXPECT_EQ(diff.standardError, "Error: No repository found at: " + repo + "\n");
    EXPECT_FALSE(std::filesystem::exists(handed));

    auto escaped =
        runVarn({"diff", "--repo", repo, "main", "--", "a\nb\x1b.c"}, {{"VARNEL_HOME", application}}, tmp.path());
    EXPECT_EQ(escaped.terminationStatus, 0) << escaped.standardError;
    EXPECT_EQ(awaitFile(handed), "https://open.varnel.app/diff/" + repo + "?revspecA=main&revspecB=a%0Ab%1B.c\n");
}
