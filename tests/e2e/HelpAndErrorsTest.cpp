// What the real tool prints for help requests and for command lines it
// refuses: the exact bytes, the stream and the exit status, at 80 columns.

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

platform::ProcessOutput runVarn(const std::vector<std::string>& arguments) {
    testsupport::TemporaryDirectory directory;
    return run(varnProgram, arguments, directory.path(),
               {{"COLUMNS", "80"}, {"LINES", std::nullopt}, {"VARNEL_HOME", std::nullopt},
                {"VARNEL_VERBOSE", std::nullopt}});
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
