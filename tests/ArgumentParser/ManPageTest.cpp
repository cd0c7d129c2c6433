// The manual page writer, run as the build runs it: the description of the
// layout tree in, a page out, checked by rendering it with groff.
#include <algorithm>

#include <gtest/gtest.h>

#include "ArgumentParser/ToolInfo.hpp"
#include "Trees.hpp"
#include "tests/support/ShellDriver.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace {

using namespace shelldriver;
using Lines = std::vector<std::string>;

// The argument of every line of the page source that starts with `macro`.
Lines macroArguments(const std::string& page, const std::string& macro) {
    Lines result;
    for (const auto& line : lines(page))
        if (line.starts_with(macro + " ")) result.push_back(line.substr(macro.size() + 1));
    return result;
}

// The non-empty lines of a rendered section, without indentation.
Lines renderedSection(const std::string& rendered, const std::string& title) {
    Lines result;
    bool inside = false;
    for (const auto& line : lines(rendered)) {
        if (!line.empty() && line.front() != ' ')
            inside = line == title;
        else if (inside && line.find_first_not_of(' ') != std::string::npos)
            result.push_back(line.substr(line.find_first_not_of(' ')));
    }
    return result;
}

class ManPage : public ::testing::Test {
protected:
    shelldriver::Run write(const std::string& input) {
        return run(shellQuoted(tool) + " --source 'tool 1.0' -o " + shellQuoted(page) + " " + shellQuoted(input));
    }

    std::string tool = std::string(VARN_BUILD_DIR) + "/bin/varn-man";
    testsupport::TemporaryDirectory directory;
    std::string page = directory / "page.1";
};

TEST_F(ManPage, TextsStayTextAndHiddenCommandsHideTheirChildren) {
    auto written = write(directory.writeFile("layout.json", ap::dumpHelp({&ap::typeOf<trees::Layout>()})));
    ASSERT_EQ(written.status, 0) << written.output;
    EXPECT_EQ(written.output, "");
    auto warnings = run("groff -man -ww -z -Tutf8 " + shellQuoted(page));
    EXPECT_EQ(warnings.status, 0);
    EXPECT_EQ(warnings.output, "");

    auto source = testsupport::readFile(page);
    EXPECT_EQ(macroArguments(source, ".TH"), Lines{R"("LAYOUT" 1 "" "tool 1.0" "User Commands")"});
    EXPECT_EQ(macroArguments(source, ".SH"),
              (Lines{"NAME", "SYNOPSIS", "DESCRIPTION", "\"OPTIONS\"", "COMMANDS", "\"EXIT STATUS\"", "\"ENVIRONMENT\"",
                     "\"FILES\"", "\"EXAMPLES\"", "\"SEE ALSO\""}));
    EXPECT_EQ(macroArguments(source, ".SS"), (Lines{"\"first (default)\"", "\"first many\"", "\"first more\"",
                                                    "\"second\\-thing\"", "\"texts\"", "\"columns\""}));
    for (auto hidden : {"_hidden", "secret", "internal"}) EXPECT_EQ(source.find(hidden), std::string::npos) << hidden;

    // Wide enough that no synopsis wraps.
    auto text = run("groff -man -Tutf8 -P-cbou -rLL=200n " + shellQuoted(page)).output;
    EXPECT_EQ(renderedSection(text, "NAME"), Lines{"layout - Shows the parts of a help screen and how they wrap."});
    auto synopsis = renderedSection(text, "SYNOPSIS");
    for (auto line :
         {"layout [--name <name>] <subcommand>", "layout first many <options>",
          "layout first more [<options>] --need <need>", "layout texts [--mode <mode>] [--verbose] [--no-verbose]"})
        EXPECT_NE(std::find(synopsis.begin(), synopsis.end(), line), synopsis.end()) << line;
    // The built-in flags are listed, though no synopsis names them.
    EXPECT_EQ(renderedSection(text, "OPTIONS"),
              (Lines{"--name <name>", "The name to use. (default: world)", "--version", "Show the version.",
                     "-h, --help", "Show help information."}));
    auto commands = renderedSection(text, "COMMANDS");
    for (auto line : {".starts with a dot, has a \\ and \\fB, ends in caf\u00e9", "'quoted", "indented", ".br is text",
                      "Output Options:", "The shade. (values: red, green, blue; default: red)"})
        EXPECT_NE(std::find(commands.begin(), commands.end(), line), commands.end()) << line;
    // The command git is given stays one line: a break inside its quotes
    // would become part of the command.
    auto examples = renderedSection(text, "EXAMPLES");
    auto command = R"('varn _mergetool --base "$BASE" --local "$LOCAL" --remote "$REMOTE" --merged "$MERGED"')";
    EXPECT_NE(std::find(examples.begin(), examples.end(), command), examples.end());
}

TEST_F(ManPage, RefusesWhatIsNotADescriptionAndWritesNothing) {
    auto refused = write(directory.writeFile("in.json", "{\"serializationVersion\" : 1}"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.output, "Error: Not a command description: serializationVersion: unsupported format version 1\n");
    auto missing = write(directory / "absent.json");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.output.starts_with("Error: Cannot open ")) << missing.output;
    // Nothing half-written is left behind either.
    EXPECT_EQ(testsupport::entriesOf(directory.path()), std::set<std::string>{"in.json"});
}

}  // namespace
