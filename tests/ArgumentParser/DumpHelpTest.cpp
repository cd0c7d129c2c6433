#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/ToolInfo.hpp"
#include "VarnTree.hpp"

namespace dumptree {

using namespace ap;

enum class Color { red, green };

}  // namespace dumptree

template <>
struct ap::ArgumentValue<dumptree::Color> {
    static std::optional<dumptree::Color> parse(std::string_view text) {
        if (text == "red") return dumptree::Color::red;
        if (text == "green") return dumptree::Color::green;
        return std::nullopt;
    }
    static std::vector<std::string> allValueStrings() { return {"red", "green"}; }
    static std::string defaultValueDescription(dumptree::Color c) {
        return c == dumptree::Color::red ? "red" : "green";
    }
};

namespace dumptree {

struct Output {
    std::string format = "text";
    static void arguments(Arguments<Output>& a) {
        a.option("format", &Output::format, {.help = "Either text/plain or json.", .defaulted = true});
    }
};

struct Build : ParsableCommand {
    static constexpr std::string_view typeName = "Build";
    static CommandConfiguration configuration() {
        return {.abstract = "Build a target.", .discussion = "Builds what is named,\nand nothing else."};
    }
    static void arguments(Arguments<Build>& a) {
        a.argument("target", &Build::target, {.help = ArgumentHelp("The target.", "", "name")});
        a.option("color", &Build::color, {.name = NameSpecification::shortAndLong(), .defaulted = true});
        a.option("secret", &Build::secret,
                 {.help = ArgumentHelp("Not for everyone.", "", std::nullopt, ArgumentVisibility::hidden)});
        a.flag("verbose", &Build::verbose, {.name = NameSpecification::shortAndLong()});
        a.flag("dryRun", &Build::dryRun, {.help = ArgumentHelp("", "", std::nullopt, ArgumentVisibility::private_)});
        a.group("output", &Build::output, {.title = "Output Options"});
    }
    std::string target;
    Color color = Color::red;
    std::optional<std::string> secret;
    int verbose = 0;
    bool dryRun = false;
    Output output;
};

struct Internal : ParsableCommand {
    static constexpr std::string_view typeName = "Internal";
    static CommandConfiguration configuration() { return {.commandName = "_internal", .shouldDisplay = false}; }
};

struct Tool : ParsableCommand {
    static constexpr std::string_view typeName = "Tool";
    static CommandConfiguration configuration() {
        return {.commandName = "tool", .version = "1.0.0", .subcommands = {typeOf<Build>, typeOf<Internal>}};
    }
};

// A framework pseudo-command with a subcommand that turns the help flag off.
struct Leaf : ParsableCommand {
    static constexpr std::string_view typeName = "Leaf";
    static CommandConfiguration configuration() { return {.helpNames = NameSpecification{}}; }
};

struct Plugin : ParsableCommand {
    static constexpr std::string_view typeName = "Plugin";
    static CommandConfiguration configuration() {
        return {.superCommandName = "host", .subcommands = {typeOf<Leaf>}};
    }
};

struct Broken : ParsableCommand {
    static constexpr std::string_view typeName = "Broken";
    static CommandConfiguration configuration() { return {.abstract = "Not UTF-8: \xff"}; }
};

}  // namespace dumptree

namespace {

using namespace ap;
using nlohmann::json;

template <class... C>
CommandStack stackOf() {
    return {&typeOf<C>()...};
}

json document(const CommandStack& stack) { return json::parse(dumpHelp(stack)); }

std::string readGolden(const std::string& name) {
    std::ifstream in(std::string(VARN_SOURCE_DIR) + "/tests/ArgumentParser/dump/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

json helpFlag = json::parse(readGolden("varn-diff.json"))["command"]["arguments"].back();

json versionFlag = json::parse(R"({
    "abstract": "Show the version.", "isOptional": true, "isRepeating": false, "kind": "flag",
    "names": [{"kind": "long", "name": "version"}],
    "preferredName": {"kind": "long", "name": "version"}, "shouldDisplay": true, "valueName": "version"})");

// The layout of the document, byte for byte, on one subcommand asked for on
// the command line; the other tests check what it holds.
TEST(DumpHelp, RequestCarriesTheStackOfTheCommandLine) {
    auto parsed = parseAsRoot(varntree::root(), {"diff", "--experimental-dump-help"});
    ASSERT_FALSE(parsed);
    auto error = parsed.error().as<CommandError>();
    ASSERT_TRUE(error);
    ASSERT_TRUE(error->parserError.as<ParserError::DumpHelpRequested>());
    EXPECT_EQ(dumpHelp(error->commandStack) + "\n", readGolden("varn-diff.json"));
}

TEST(DumpHelp, DocumentIsJsonWithKeysSortedAtEveryLevel) {
    for (const auto& stack : {CommandStack{&varntree::root()}, stackOf<dumptree::Tool, dumptree::Build>()}) {
        auto text = dumpHelp(stack);
        // The order as written, against the order of a sorted map.
        auto asWritten = nlohmann::ordered_json::parse(text, nullptr, false);
        ASSERT_FALSE(asWritten.is_discarded()) << text;
        EXPECT_EQ(asWritten.dump(), json::parse(text).dump());
        EXPECT_EQ(text.find("null"), std::string::npos);
    }
}

TEST(DumpHelp, SubcommandsButHelpWithTheirSuperCommands) {
    auto root = document(stackOf<dumptree::Tool>())["command"];
    EXPECT_FALSE(root.contains("superCommands"));
    EXPECT_FALSE(root.contains("defaultSubcommand"));
    EXPECT_FALSE(root.contains("abstract"));
    EXPECT_EQ(root["arguments"], json::array({versionFlag, helpFlag}));
    ASSERT_EQ(root["subcommands"].size(), 2u);
    EXPECT_EQ(root["subcommands"][1]["commandName"], "_internal");
    EXPECT_EQ(root["subcommands"][1]["arguments"], json::array({versionFlag, helpFlag}));
    // Described on its own, a subcommand's super-commands are the path to it.
    auto build = document(stackOf<dumptree::Tool, dumptree::Build>())["command"];
    EXPECT_EQ(build, root["subcommands"][0]);
    EXPECT_EQ(build["superCommands"], json::parse(R"(["tool"])"));

    auto varn = document({&varntree::root()})["command"];
    EXPECT_EQ(varn["defaultSubcommand"], "open");
    ASSERT_EQ(varn["subcommands"].size(), 4u);
    EXPECT_EQ(varn["subcommands"][0], document(stackOf<varntree::TarqCLI, varntree::DefaultCommand>())["command"]);
}

TEST(DumpHelp, ArgumentsAtEveryVisibilityWithTheirDeclaredDetails) {
    auto build = document(stackOf<dumptree::Tool, dumptree::Build>())["command"];
    EXPECT_EQ(build["discussion"], "Builds what is named,\nand nothing else.");
    auto expected = json::parse(R"([
        {"abstract": "The target.", "isOptional": false, "isRepeating": false, "kind": "positional",
         "shouldDisplay": true, "valueName": "name"},
        {"allValues": ["red", "green"], "defaultValue": "red", "isOptional": true, "isRepeating": false,
         "kind": "option", "names": [{"kind": "short", "name": "c"}, {"kind": "long", "name": "color"}],
         "preferredName": {"kind": "long", "name": "color"}, "shouldDisplay": true, "valueName": "color"},
        {"abstract": "Not for everyone.", "isOptional": true, "isRepeating": false, "kind": "option",
         "names": [{"kind": "long", "name": "secret"}], "preferredName": {"kind": "long", "name": "secret"},
         "shouldDisplay": false, "valueName": "secret"},
        {"isOptional": true, "isRepeating": true, "kind": "flag",
         "names": [{"kind": "short", "name": "v"}, {"kind": "long", "name": "verbose"}],
         "preferredName": {"kind": "long", "name": "verbose"}, "shouldDisplay": true, "valueName": "verbose"},
        {"isOptional": true, "isRepeating": false, "kind": "flag", "names": [{"kind": "long", "name": "dry-run"}],
         "preferredName": {"kind": "long", "name": "dry-run"}, "shouldDisplay": false, "valueName": "dry-run"},
        {"abstract": "Either text/plain or json.", "defaultValue": "text", "isOptional": true, "isRepeating": false,
         "kind": "option", "names": [{"kind": "long", "name": "format"}],
         "preferredName": {"kind": "long", "name": "format"}, "sectionTitle": "Output Options",
         "shouldDisplay": true, "valueName": "format"}
    ])");
    expected.push_back(versionFlag);
    expected.push_back(helpFlag);
    EXPECT_EQ(build["arguments"], expected);
    EXPECT_NE(dumpHelp(stackOf<dumptree::Tool, dumptree::Build>()).find(R"("Either text\/plain or json.")"),
              std::string::npos);
}

TEST(DumpHelp, SuperCommandNameLeadsTheListBelowTheRootOnly) {
    auto plugin = document(stackOf<dumptree::Plugin>())["command"];
    EXPECT_FALSE(plugin.contains("superCommands"));
    EXPECT_EQ(plugin["arguments"], json::array({helpFlag}));

    // Without help names and arguments there is nothing to list.
    auto leaf = plugin["subcommands"][0];
    EXPECT_EQ(leaf["superCommands"], json::parse(R"(["host", "plugin"])"));
    EXPECT_EQ(leaf["commandName"], "leaf");
    EXPECT_FALSE(leaf.contains("arguments"));
}

TEST(DumpHelp, TextThatIsNotUtf8GivesAnEmptyDocument) {
    EXPECT_EQ(dumpHelp(stackOf<dumptree::Broken>()), "");
}

TEST(ToolInfoDecoding, ReadsBackWhatIsWritten) {
    for (const auto& stack : {CommandStack{&varntree::root()}, stackOf<dumptree::Tool, dumptree::Build>()}) {
        auto text = dumpHelp(stack);
        auto decoded = parseToolInfo(text);
        ASSERT_TRUE(decoded) << decoded.error().description();
        EXPECT_EQ(encodeToolInfo(*decoded), text);
    }
}

TEST(ToolInfoDecoding, RefusesOtherVersionsAndMalformedDocuments) {
    auto cases = std::vector<std::pair<std::string, std::string>>{
        {"{", "not a JSON document"},
        {R"([])", "expected an object"},
        {R"({"command": {"commandName": "x"}})", "serializationVersion: missing"},
        {R"({"serializationVersion": 1, "command": {}})", "serializationVersion: unsupported format version 1"},
        {R"({"serializationVersion": 0})", "command: missing"},
        {R"({"serializationVersion": 0, "command": {"commandName": 3}})", "command.commandName: expected a text"},
        {R"({"serializationVersion": 0, "command": {"commandName": "x", "arguments": [
            {"kind": "switch", "shouldDisplay": true, "isOptional": true, "isRepeating": false}]}})",
         "command.arguments.0.kind: unknown argument kind \"switch\""},
        {R"({"serializationVersion": 0, "command": {"commandName": "x", "subcommands": [{"commandName": "y",
            "arguments": [{"kind": "flag", "shouldDisplay": true, "isOptional": true, "isRepeating": false,
                           "names": [{"kind": "tiny", "name": "t"}]}]}]}})",
         "command.subcommands.0.arguments.0.names.0.kind: unknown name kind \"tiny\""},
    };
    for (const auto& [text, message] : cases) {
        auto decoded = parseToolInfo(text);
        ASSERT_FALSE(decoded) << text;
        EXPECT_EQ(decoded.error().description(), message) << text;
    }
}

}  // namespace
