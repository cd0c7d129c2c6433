// The manual page writer, run as the build runs it: a description in, a
// page out, checked by rendering it with groff.

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "ArgumentParser/ToolInfo.hpp"
#include "VarnTree.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "tests/support/ShellDriver.hpp"

namespace {

namespace fs = std::filesystem;
using namespace ap;
using shelldriver::lines;
using shelldriver::run;
using shelldriver::shellQuoted;

std::string trimmed(const std::string& text) {
    auto begin = text.find_first_not_of(' ');
    return begin == std::string::npos ? "" : text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// The argument of every line of the page source that starts with `macro`.
std::vector<std::string> macroArguments(const std::string& page, const std::string& macro) {
    std::vector<std::string> result;
    for (const auto& line : lines(page))
        if (line.starts_with(macro + " ")) result.push_back(line.substr(macro.size() + 1));
    return result;
}

// The non-empty lines of a rendered section, without indentation.
std::vector<std::string> renderedSection(const std::string& rendered, const std::string& title) {
    std::vector<std::string> result;
    bool inside = false;
    for (const auto& line : lines(rendered)) {
        if (!line.empty() && line.front() != ' ') {
            inside = line == title;
            continue;
        }
        if (inside && !trimmed(line).empty()) result.push_back(trimmed(line));
    }
    return result;
}

class ManPage : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(tool)) GTEST_SKIP() << "varn-man is not part of this build";
    }

    // Writes the page for `description`; fails the test when varn-man does.
    std::string pageFor(const std::string& description) {
        auto input = directory.writeFile("description.json", description);
        auto written = run(shellQuoted(tool) + " --source 'tool 1.0' --output " + shellQuoted(page) + " " +
                           shellQuoted(input));
        EXPECT_EQ(written.status, 0) << written.output;
        EXPECT_EQ(written.output, "");
        auto checked = run("groff -man -ww -z " + shellQuoted(page));
        EXPECT_EQ(checked.status, 0);
        EXPECT_EQ(checked.output, "") << "groff warned";
        return testsupport::readFile(page);
    }

    // The page as text, wide enough that no synopsis wraps.
    std::string rendered() {
        auto text = run("groff -man -Tutf8 -P-cbou -rLL=200n " + shellQuoted(page));
        EXPECT_EQ(text.status, 0) << text.output;
        return text.output;
    }

    std::string tool = std::string(VARN_BUILD_DIR) + "/bin/varn-man";
    testsupport::TemporaryDirectory directory;
    std::string page = directory / "page.1";
};

TEST_F(ManPage, VarnPageListsExactlyTheVisibleSubcommands) {
    auto page = pageFor(dumpHelp({&varntree::root()}) + "\n");

    EXPECT_EQ(macroArguments(page, ".SS"), (std::vector<std::string>{"\"open (default)\"", "\"merge\"", "\"diff\""}));
    EXPECT_EQ(page.find("_mergetool"), std::string::npos);
    EXPECT_EQ(macroArguments(page, ".TH"), (std::vector<std::string>{R"("VARN" 1 "" "tool 1.0" "User Commands")"}));

    auto text = rendered();
    EXPECT_EQ(renderedSection(text, "NAME"),
              (std::vector<std::string>{"varn - Open a repository or conflicted files in Varnel."}));
    // The synopses read as the help's usage lines.
    EXPECT_EQ(renderedSection(text, "SYNOPSIS"),
              (std::vector<std::string>{"varn <subcommand>", "varn open [<repo>]", "varn merge <file>",
                                        "varn diff [--repo <repo>] <revspec-a> [<revspec-b>] [<paths> ...]"}));
    auto commands = renderedSection(text, "COMMANDS");
    auto has = [&](const std::string& line) {
        return std::find(commands.begin(), commands.end(), line) != commands.end();
    };
    EXPECT_TRUE(has("-r, --repo <repo>"));
    EXPECT_TRUE(has("First commit to compare. (Branch name, tag, SHA, etc\u2026)"));

    auto startsALine = [](const std::vector<std::string>& lines, const std::string& word) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l == word || l.starts_with(word + " ");
        });
    };
    auto environment = renderedSection(text, "ENVIRONMENT");
    for (auto variable : {"VARNEL_HOME", "VARNEL_VERBOSE", "COLUMNS", "SHELL"})
        EXPECT_TRUE(startsALine(environment, variable)) << variable;
    auto exit = renderedSection(text, "EXIT STATUS");
    for (auto status : {"0", "64", "1", "the launcher's status", "the merge result"})
        EXPECT_TRUE(startsALine(exit, status)) << status;
}

ArgumentInfoV0 option(const std::string& name, bool optional = true) {
    ArgumentInfoV0 a;
    a.kind = ArgumentInfoV0::KindV0::option;
    a.isOptional = optional;
    a.names = {{NameInfoV0::KindV0::long_, name}};
    a.preferredName = NameInfoV0{NameInfoV0::KindV0::long_, name};
    a.valueName = name;
    return a;
}

ArgumentInfoV0 builtinFlag(const std::string& name, const std::string& abstract) {
    ArgumentInfoV0 a = option(name);
    a.kind = ArgumentInfoV0::KindV0::flag;
    a.abstract = abstract;
    return a;
}

CommandInfoV0 command(std::vector<std::string> supers, std::string name, std::vector<ArgumentInfoV0> arguments = {}) {
    CommandInfoV0 c;
    c.superCommands = std::move(supers);
    c.commandName = std::move(name);
    arguments.push_back(builtinFlag("version", "Show the version."));
    arguments.push_back(builtinFlag("help", "Show help information."));
    c.arguments = std::move(arguments);
    return c;
}

// Texts that mean something to roff, many options, nested and hidden commands.
std::string awkwardDescription() {
    std::vector<ArgumentInfoV0> many;
    for (int i = 1; i <= 13; ++i) many.push_back(option("o" + std::to_string(i)));
    auto more = many;
    more.push_back(option("name", false));

    ArgumentInfoV0 url;
    url.kind = ArgumentInfoV0::KindV0::positional;
    url.isOptional = url.isRepeating = true;
    url.valueName = "url";
    url.abstract = "Where to fetch from.";
    auto timeout = option("timeout");
    timeout.sectionTitle = "Network Options";
    timeout.allValues = std::vector<std::string>{"10", "30"};
    timeout.defaultValue = "30";
    timeout.discussion = "Seconds.\n.br is not a request here";
    auto debug = option("debug");
    debug.shouldDisplay = false;

    auto add = command({"tool", "remote"}, "add", {url, timeout, debug});
    auto remote = command({"tool"}, "remote");
    remote.defaultSubcommand = "add";
    remote.subcommands = std::vector<CommandInfoV0>{add, command({"tool", "remote"}, "_prune")};
    auto secret = command({"tool"}, "_secret");
    secret.subcommands = std::vector<CommandInfoV0>{command({"tool", "_secret"}, "inside")};

    ToolInfoV0 info;
    info.command = command({}, "tool");
    info.command.superCommands.reset();
    info.command.abstract = ".starts with a dot, has a \\ and \\fB, and ends in caf\u00e9";
    info.command.discussion = "First line.\n\n'quoted line\n indented line";
    info.command.subcommands = std::vector<CommandInfoV0>{
        command({"tool"}, "many", many), command({"tool"}, "more", more), remote, secret};
    return encodeToolInfo(info);
}

TEST_F(ManPage, AwkwardTextsStayTextAndHiddenCommandsHideTheirChildren) {
    auto page = pageFor(awkwardDescription());
    EXPECT_EQ(macroArguments(page, ".SS"),
              (std::vector<std::string>{"\"many\"", "\"more\"", "\"remote\"", "\"remote add (default)\""}));
    EXPECT_EQ(page.find("inside"), std::string::npos);
    EXPECT_EQ(page.find("debug"), std::string::npos);

    auto text = rendered();
    EXPECT_EQ(renderedSection(text, "SYNOPSIS"),
              (std::vector<std::string>{"tool <subcommand>", "tool many <options>",
                                        "tool more [<options>] --name <name>", "tool remote <subcommand>",
                                        "tool remote add [<url> ...] [--timeout <timeout>]"}));
    EXPECT_EQ(renderedSection(text, "NAME"),
              (std::vector<std::string>{"tool - .starts with a dot, has a \\ and \\fB, and ends in caf\u00e9"}));
    auto description = renderedSection(text, "DESCRIPTION");
    ASSERT_GE(description.size(), 4u);
    EXPECT_EQ(description[1], "First line.");
    EXPECT_EQ(description[2], "'quoted line");
    EXPECT_EQ(description[3], "indented line");
    EXPECT_NE(text.find("(values: 10, 30; default: 30)"), std::string::npos);
    EXPECT_NE(text.find(".br is not a request here"), std::string::npos);
    EXPECT_NE(text.find("Network Options:"), std::string::npos);
    // The built-in flags are listed, not part of the synopses.
    EXPECT_NE(renderedSection(text, "OPTIONS"), std::vector<std::string>{});
}

TEST_F(ManPage, RefusesWhatIsNotADescriptionAndWritesNothing) {
    auto input = directory / "in.json";
    for (auto [text, message] : {std::pair{"{\"serializationVersion\" : 1}",
                                           "Error: Not a command description: serializationVersion: unsupported "
                                           "format version 1\n"},
                                 std::pair{"help", "Error: Not a command description: not a JSON document\n"}}) {
        directory.writeFile("in.json", text);
        auto result = run(shellQuoted(tool) + " -o " + shellQuoted(page) + " " + shellQuoted(input));
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output, message);
        EXPECT_FALSE(fs::exists(page));
    }
    auto missing = run(shellQuoted(tool) + " -o " + shellQuoted(page) + " " + shellQuoted(directory / "absent.json"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.output.starts_with("Error: Cannot open ")) << missing.output;
    // Nothing half-written is left behind either.
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1);
}

}  // namespace
