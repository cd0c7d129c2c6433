// Whole help screens, byte for byte, for small trees; the tool's own screens
// are compared by the end-to-end tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ArgumentParser/Declarations.hpp"
#include "ArgumentParser/HelpGenerator.hpp"
#include "ArgumentParser/UsageGenerator.hpp"

using namespace ap;
using ::testing::EndsWith;
using ::testing::HasSubstr;

namespace {

// The example screen: a root with an option, a version and two subcommands.
struct First : ParsableCommand {
    static constexpr std::string_view typeName = "First";
    static CommandConfiguration configuration() { return {.abstract = "Do the first thing."}; }
};
struct Second : ParsableCommand {
    static constexpr std::string_view typeName = "Second";
    static CommandConfiguration configuration() { return {.abstract = "Do the second thing."}; }
};
struct Tool : ParsableCommand {
    static constexpr std::string_view typeName = "Tool";
    static CommandConfiguration configuration() {
        return {.abstract = "A tool with two subcommands.",
                .version = "1.0",
                .subcommands = {typeOf<First>, typeOf<Second>},
                .defaultSubcommand = typeOf<First>};
    }
    static void arguments(Arguments<Tool>& a) {
        a.option("name", &Tool::name, {.help = "The name to use.", .defaulted = true});
    }
    std::string name = "world";
};

// Labels either side of the longest that keeps its abstract on its line.
struct Labels : ParsableCommand {
    static constexpr std::string_view typeName = "Labels";
    static CommandConfiguration configuration() { return {.commandName = "labels"}; }
    static void arguments(Arguments<Labels>& a) {
        // "--" and 21 letters: 23 characters; with two more spaces, 25.
        a.flag("a", &Labels::a, {.name = {NameSpecification::customLong(std::string(21, 'a'))}, .help = "Fits."});
        a.flag("b", &Labels::b, {.name = {NameSpecification::customLong(std::string(22, 'b'))}, .help = "Too long."});
    }
    bool a = false, b = false;
};

struct Texts : ParsableCommand {
    static constexpr std::string_view typeName = "Texts";
    static CommandConfiguration configuration() {
        return {.commandName = "texts", .abstract = "Line one.\nLine two.", .discussion = "More about it."};
    }
    static void arguments(Arguments<Texts>& a) {
        a.option("mode", &Texts::mode,
                 {.name = NameSpecification::shortAndLong(),
                  .help = ArgumentHelp("First line.\nSecond line.", "A discussion that goes on for a while.")});
        a.flag("verbose", &Texts::verbose, {.inversion = FlagInversion::prefixedNo, .help = "Talk more."});
        a.option("secret", &Texts::secret, {.help = ArgumentHelp("Hidden.", "", std::nullopt, ArgumentVisibility::hidden)});
        a.option("internal", &Texts::internal,
                 {.help = ArgumentHelp("Private.", "", std::nullopt, ArgumentVisibility::private_)});
    }
    std::optional<std::string> mode, secret, internal;
    bool verbose = false;
};

struct Quiet : ParsableCommand {
    static constexpr std::string_view typeName = "Quiet";
    static CommandConfiguration configuration() { return {.abstract = "Not listed.", .shouldDisplay = false}; }
};
struct AllHidden : ParsableCommand {
    static constexpr std::string_view typeName = "AllHidden";
    static CommandConfiguration configuration() {
        return {.commandName = "hider", .subcommands = {typeOf<Quiet>}};
    }
};
struct NoUsage : ParsableCommand {
    static constexpr std::string_view typeName = "NoUsage";
    static CommandConfiguration configuration() { return {.commandName = "no-usage", .usage = ""}; }
};

struct Connection {
    std::optional<std::string> host;
    std::optional<int> port;
    static void arguments(Arguments<Connection>& a) {
        a.option("host", &Connection::host, {.help = "The host."});
        a.option("port", &Connection::port, {.help = "The port."});
    }
};
struct Grouped : ParsableCommand {
    static constexpr std::string_view typeName = "Grouped";
    static CommandConfiguration configuration() { return {.commandName = "grouped"}; }
    static void arguments(Arguments<Grouped>& a) {
        a.argument("target", &Grouped::target, {.help = "Where to go."});
        a.group("connection", &Grouped::connection, {.title = "Connection Options"});
        a.flag("dryRun", &Grouped::dryRun, {.help = "Only pretend."});
    }
    std::string target;
    Connection connection;
    bool dryRun = false;
};

std::string help(const CommandStack& stack, int width = 80, ArgumentVisibility v = ArgumentVisibility::default_) {
    return HelpGenerator(stack, v).rendered(width);
}

}  // namespace

// The tool's own root screen, with subcommands and a default, is compared
// end to end; here, a root option with a default and the version flag.
TEST(HelpText, RootOptionsAndTheVersion) {
    EXPECT_THAT(help({&typeOf<Tool>()}),
                HasSubstr("USAGE: tool [--name <name>] <subcommand>\n"
                          "\n"
                          "OPTIONS:\n"
                          "  --name <name>           The name to use. (default: world)\n"
                          "  --version               Show the version.\n"
                          "  -h, --help              Show help information.\n"
                          "\n"
                          "SUBCOMMANDS:\n"));
    // The version flag comes from the root; a subcommand lists it too.
    EXPECT_EQ(help({&typeOf<Tool>(), &typeOf<First>()}),
              "OVERVIEW: Do the first thing.\n"
              "\n"
              "USAGE: tool first\n"
              "\n"
              "OPTIONS:\n"
              "  --version               Show the version.\n"
              "  -h, --help              Show help information.\n");
}

TEST(HelpText, NarrowScreensDropAbstractsThenDiscussions) {
    // At 26 columns nothing is left for an abstract; the labels stay.
    EXPECT_THAT(help({&typeOf<Tool>()}, 26),
                EndsWith("OPTIONS:\n"
                         "  --name <name>\n"
                         "  --version\n"
                         "  -h, --help\n"
                         "\n"
                         "SUBCOMMANDS:\n"
                         "  first (default)\n"
                         "  second\n"
                         "\n"
                         "  See 'tool help <subcommand>' for detailed help."));
    EXPECT_EQ(help({&typeOf<Texts>()}, 9),
              // The window is exactly 9: "about it." fits, "Line one." does not,
              // because its newline is the tenth character.
              "OVERVIEW:\nLine\none.\nLine\ntwo.\n\nMore\nabout it.\n"
              "\n"
              "USAGE: texts [--mode <mode>] [--verbose] [--no-verbose]\n"
              "\n"
              "OPTIONS:\n"
              "  -m, --mode <mode>\n"
              "        A\n        discussion\n        that\n        goes\n        on\n        for\n        a\n"
              "        while.\n"
              "  --verbose/--no-verbose\n"
              "  -h, --help\n");
    // At 8 the discussions go as well.
    EXPECT_EQ(help({&typeOf<Texts>()}, 8),
              "OVERVIEW:\nLine\none.\nLine\ntwo.\n\nMore\nabout\nit.\n"
              "\n"
              "USAGE: texts [--mode <mode>] [--verbose] [--no-verbose]\n"
              "\n"
              "OPTIONS:\n"
              "  -m, --mode <mode>\n"
              "\n"
              "  --verbose/--no-verbose\n"
              "  -h, --help\n");
}

TEST(HelpText, LabelOfTwentyFourCharactersPushesTheAbstractDown) {
    EXPECT_EQ(help({&typeOf<Labels>()}),
              "USAGE: labels [--aaaaaaaaaaaaaaaaaaaaa] [--bbbbbbbbbbbbbbbbbbbbbb]\n"
              "\n"
              "OPTIONS:\n"
              "  --aaaaaaaaaaaaaaaaaaaaa Fits.\n"
              "  --bbbbbbbbbbbbbbbbbbbbbb\n"
              "                          Too long.\n"
              "  -h, --help              Show help information.\n");
}

TEST(HelpText, NewlinesInTextsAreKept) {
    EXPECT_EQ(help({&typeOf<Texts>()}, 40),
              "OVERVIEW: Line one.\nLine two.\n\nMore about it.\n"
              "\n"
              "USAGE: texts [--mode <mode>] [--verbose] [--no-verbose]\n"
              "\n"
              "OPTIONS:\n"
              "  -m, --mode <mode>       First line.\n"
              "                          Second line.\n"
              "        A discussion that goes on for a\n"
              "        while.\n"
              "  --verbose/--no-verbose  Talk more.\n"
              "  -h, --help              Show help\n"
              "                          information.\n");
}

TEST(HelpText, HiddenHelpAddsHiddenArgumentsButNeverPrivateOnes) {
    auto hidden = help({&typeOf<Texts>()}, 80, ArgumentVisibility::hidden);
    EXPECT_NE(hidden.find("USAGE: texts [--mode <mode>] [--verbose] [--no-verbose] [--secret <secret>]\n"),
              std::string::npos);
    EXPECT_NE(hidden.find("  --secret <secret>       Hidden.\n"), std::string::npos);
    EXPECT_EQ(help({&typeOf<Texts>()}, 80).find("secret"), std::string::npos);
    EXPECT_EQ(usageMessage({&typeOf<Texts>()}), "Usage: texts [--mode <mode>] [--verbose] [--no-verbose]");
    EXPECT_EQ(hidden.find("internal"), std::string::npos);
    EXPECT_EQ(help({&typeOf<Texts>()}, 80, ArgumentVisibility::private_), hidden);
}

TEST(HelpText, EmptyUsageOverrideAndHiddenSubcommandsLeaveSectionsOut) {
    // The usage still names a subcommand; the section and the hint go.
    EXPECT_EQ(help({&typeOf<AllHidden>()}),
              "USAGE: hider <subcommand>\n"
              "\n"
              "OPTIONS:\n"
              "  -h, --help              Show help information.\n");
    EXPECT_EQ(help({&typeOf<NoUsage>()}),
              "OPTIONS:\n"
              "  -h, --help              Show help information.\n");
    EXPECT_EQ(HelpGenerator({&typeOf<NoUsage>()}, ArgumentVisibility::default_).usageMessage(), "");
}

TEST(HelpText, OptionGroupTitlesMakeTheirOwnSections) {
    EXPECT_EQ(help({&typeOf<Grouped>()}),
              "USAGE: grouped <target> [--host <host>] [--port <port>] [--dry-run]\n"
              "\n"
              "ARGUMENTS:\n"
              "  <target>                Where to go.\n"
              "\n"
              "CONNECTION OPTIONS:\n"
              "  --host <host>           The host.\n"
              "  --port <port>           The port.\n"
              "\n"
              "OPTIONS:\n"
              "  --dry-run               Only pretend.\n"
              "  -h, --help              Show help information.\n");
}

namespace {

ArgumentDefinition namedOption(const std::string& name, bool optional) {
    ArgumentDefinition d;
    d.kind = ArgumentDefinition::Kind::named;
    d.names = {Name::long_(name)};
    d.help.isOptional = optional;
    d.help.keys = {InputKey(name)};
    d.update = ArgumentDefinition::Unary{};
    return d;
}

std::vector<ArgumentDefinition> optionalOptions(int count) {
    std::vector<ArgumentDefinition> definitions;
    for (int i = 0; i < count; ++i) definitions.push_back(namedOption("o" + std::to_string(i), true));
    return definitions;
}

}  // namespace

TEST(Usage, ThirteenDefinitionsAreCompacted) {
    auto twelve = optionalOptions(12);
    EXPECT_EQ(UsageGenerator("tool", twelve).synopsis(),
              "tool [--o0 <o0>] [--o1 <o1>] [--o2 <o2>] [--o3 <o3>] [--o4 <o4>] [--o5 <o5>] [--o6 <o6>] "
              "[--o7 <o7>] [--o8 <o8>] [--o9 <o9>] [--o10 <o10>] [--o11 <o11>]");
    EXPECT_EQ(UsageGenerator("tool", optionalOptions(13)).synopsis(), "tool <options>");
    auto withRequired = optionalOptions(13);
    withRequired.push_back(namedOption("name", false));
    EXPECT_EQ(UsageGenerator("tool", withRequired).synopsis(), "tool [<options>] --name <name>");
    EXPECT_EQ(UsageGenerator("tool", {}).synopsis(), "tool");
}

TEST(Usage, SynopsisShapes) {
    auto repeating = namedOption("path", true);
    repeating.help.isRepeating = true;
    EXPECT_EQ(synopsis(repeating), "[--path <path> ...]");
    EXPECT_EQ(synopsis(repeating, false), "--path <path> ...");

    ArgumentDefinition rest;
    rest.kind = ArgumentDefinition::Kind::positional;
    rest.help.keys = {InputKey("extraArgs")};
    rest.help.isOptional = rest.help.isRepeating = true;
    rest.parsingStrategy = ParsingStrategy::postTerminator;
    rest.update = ArgumentDefinition::Unary{};
    EXPECT_EQ(synopsis(rest), "-- [<extra-args> ...]");

    ArgumentDefinition flag;
    flag.kind = ArgumentDefinition::Kind::named;
    flag.names = {Name::short_("v"), Name::longWithSingleDash("verbose")};
    flag.help.valueName = "unused";
    flag.update = ArgumentDefinition::Nullary{};
    EXPECT_EQ(synopsis(flag), "-verbose");
    EXPECT_EQ(helpLabel(flag), "-v, -verbose");
}

TEST(HelpText, ValuesText) {
    ArgumentDefinition d = namedOption("color", true);
    EXPECT_EQ(valuesText(d), "");
    d.help.defaultValue = "";
    EXPECT_EQ(valuesText(d), "");
    d.help.allValueStrings = {"red", "", "green"};
    EXPECT_EQ(valuesText(d), "(values: red, green)");
    d.help.defaultValue = "red";
    EXPECT_EQ(valuesText(d), "(values: red, green; default: red)");
}
