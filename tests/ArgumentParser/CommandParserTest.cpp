#include <gtest/gtest.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/HelpCommand.hpp"
#include "ArgumentParser/MessageInfo.hpp"
#include "VarnTree.hpp"

using namespace ap;

namespace {

Result<std::unique_ptr<ParsableCommand>> parse(const CommandType& root, std::vector<std::string> arguments) {
    return parseAsRoot(root, std::move(arguments));
}

template <class C>
C& as(Result<std::unique_ptr<ParsableCommand>>& r) {
    EXPECT_TRUE(r) << "parse failed with error " << (r ? 0 : r.error().value.index());
    auto c = dynamic_cast<C*>(r->get());
    EXPECT_NE(c, nullptr) << "another command was chosen";
    return *c;
}

// What the main entry prints for a command line it does not run, and the status.
std::pair<std::string, int> outcome(const CommandType& root, std::vector<std::string> arguments) {
    auto r = parse(root, std::move(arguments));
    if (r) return {"<parsed>", -1};
    auto info = MessageInfo::make(r.error(), root, 80);
    return {info.fullText(), info.exitCode()};
}

std::vector<std::string> names(const CommandStack& stack) {
    std::vector<std::string> n;
    for (auto c : stack) n.push_back(c->commandName());
    return n;
}

// A tool exercising every way of taking values.
struct Options {
    static void arguments(Arguments<Options>& a) { a.option("level", &Options::level, {.defaulted = true}); }
    int level = 1;
};

enum class Color { red, green };

struct RunCommand : ParsableCommand {
    static constexpr std::string_view typeName = "RunCommand";
    static CommandConfiguration configuration() { return {.commandName = "run", .abstract = "Runs."}; }
    static void arguments(Arguments<RunCommand>& a) {
        a.option("name", &RunCommand::name, {.name = NameSpecification::shortAndLong()});
        a.option("scan", &RunCommand::scan, {.parsing = SingleValueParsingStrategy::scanningForValue()});
        a.option("raw", &RunCommand::raw, {.parsing = SingleValueParsingStrategy::unconditional()});
        a.option("tag", &RunCommand::tags, {.arrayParsing = ArrayParsingStrategy::upToNextOption(), .defaulted = true});
        a.option("rest", &RunCommand::rest, {.arrayParsing = ArrayParsingStrategy::remaining(), .defaulted = true});
        a.option("define", &RunCommand::defines,
                 {.name = {NameSpecification::customShort("D", true)}, .defaulted = true});
        a.option("small", &RunCommand::small);
        a.option("count", &RunCommand::count, {.defaulted = true});
        a.option("include", &RunCommand::includes, {.defaulted = true});
        a.flag("verbose", &RunCommand::verbose, {.name = NameSpecification::shortAndLong()});
        a.flag("fast", &RunCommand::fast, {.inversion = FlagInversion::prefixedNo, .exclusivity = FlagExclusivity::exclusive});
        a.flag("first", &RunCommand::first,
               {.inversion = FlagInversion::prefixedNo, .exclusivity = FlagExclusivity::chooseFirst});
        a.flags("color", &RunCommand::color, std::vector<FlagCase<Color>>{{Color::red, "red"}, {Color::green, "green"}});
        a.group("options", &RunCommand::options);
        a.argument("file", &RunCommand::file);
        a.argument("extra", &RunCommand::extra, {.parsing = ArgumentArrayParsingStrategy::postTerminator(), .defaulted = true});
    }
    std::optional<std::string> name, scan, raw;
    std::vector<std::string> tags{"default"}, rest, defines;
    std::optional<std::int8_t> small;
    std::uint16_t count = 5;
    std::vector<std::string> includes{"a", "b"};
    bool verbose = false, fast = true, first = false;
    std::optional<Color> color;
    Options options;
    std::optional<std::string> file;
    std::vector<std::string> extra;
};

struct Pass : ParsableCommand {
    static constexpr std::string_view typeName = "Pass";
    static CommandConfiguration configuration() { return {}; }
    static void arguments(Arguments<Pass>& a) {
        a.group("options", &Pass::options);
        a.argument("words", &Pass::words, {.parsing = ArgumentArrayParsingStrategy::allUnrecognized(), .defaulted = true});
    }
    Options options;
    std::vector<std::string> words;
};

struct Strict : ParsableCommand {
    static constexpr std::string_view typeName = "Strict";
    static CommandConfiguration configuration() { return {}; }
    static void arguments(Arguments<Strict>& a) { a.argument("n", &Strict::n); }
    int n = 0;
    Result<void> validate() override {
        if (n < 0) return ValidationError{"n must not be negative"};
        return {};
    }
};

struct Tool : ParsableCommand {
    static constexpr std::string_view typeName = "Tool";
    static CommandConfiguration configuration() {
        return {.commandName = "tool",
                .version = "1.2.3",
                .subcommands = {typeOf<RunCommand>, typeOf<Pass>, typeOf<Strict>}};
    }
    static void arguments(Arguments<Tool>& a) { a.group("options", &Tool::options); }
    Options options;
};

// A default subcommand that takes every remaining word, options too.
struct Exec : ParsableCommand {
    static constexpr std::string_view typeName = "Exec";
    static CommandConfiguration configuration() { return {}; }
    static void arguments(Arguments<Exec>& a) {
        a.argument("words", &Exec::words, {.parsing = ArgumentArrayParsingStrategy::unconditionalRemaining(), .defaulted = true});
    }
    std::vector<std::string> words;
};

struct Launcher : ParsableCommand {
    static constexpr std::string_view typeName = "Launcher";
    static CommandConfiguration configuration() { return {.subcommands = {typeOf<Exec>}, .defaultSubcommand = typeOf<Exec>}; }
    static void arguments(Arguments<Launcher>& a) { a.flag("quiet", &Launcher::quiet); }
    bool quiet = false;
};

}  // namespace

TEST(Descent, SubcommandsByNameOrByDefault) {
    auto bare = parse(varntree::root(), {"some/path"});
    EXPECT_EQ(as<varntree::DefaultCommand>(bare).repo, "some/path");
    auto none = parse(varntree::root(), {});
    EXPECT_EQ(as<varntree::DefaultCommand>(none).repo, std::nullopt);
    auto hidden =
        parse(varntree::root(), {"_mergetool", "--base", "b", "--local", "l", "--remote", "r", "--merged", "m"});
    auto& m = as<varntree::Mergetool>(hidden);
    EXPECT_EQ(m.base + m.local + m.remote + m.merged, "blrm");
    // Positionals fill in order around an option.
    auto diff = parse(varntree::root(), {"diff", "a", "-r", "repo", "b", "x", "y"});
    auto& d = as<varntree::Diff>(diff);
    EXPECT_EQ(d.revspecA + " " + d.revspecB.value_or("-") + " " + d.repo.value_or("-"), "a b repo");
    EXPECT_EQ(d.paths, (std::vector<std::string>{"x", "y"}));
    // A subcommand that takes all remaining input, named or by default,
    // takes the line from its name or from the first word the root does not know.
    auto named = parse(typeOf<Launcher>(), {"exec", "--quiet"});
    EXPECT_EQ(as<Exec>(named).words, (std::vector<std::string>{"--quiet"}));
    auto byDefault = parse(typeOf<Launcher>(), {"--quiet", "--x", "--quiet"});
    EXPECT_EQ(as<Exec>(byDefault).words, (std::vector<std::string>{"--x", "--quiet"}));
}

// The tool's own help requests are compared screen by screen end to end.
TEST(Descent, HelpRequestsNameTheCommandTheyReach) {
    struct Case {
        const CommandType& root;
        std::vector<std::string> arguments;
        std::vector<std::string> stack;
    } cases[] = {
        {typeOf<Tool>(), {"run", "-vh"}, {"tool", "run"}},
        {typeOf<Tool>(), {"pass", "x", "--help"}, {"tool", "pass"}},
        // Alone, a help flag stays at a root with a default subcommand.
        {varntree::root(), {"--help"}, {"varn"}},
        {varntree::root(), {"path", "--help"}, {"varn", "open"}},
        // The help subcommand stops at a name that is no subcommand.
        {varntree::root(), {"help", "nothing", "diff"}, {"varn"}},
    };
    for (const auto& c : cases) {
        auto r = parse(c.root, c.arguments);
        auto& help = as<HelpCommand>(r);
        EXPECT_EQ(names(help.commandStack), c.stack);
        EXPECT_EQ(help.visibility, ArgumentVisibility::default_);
    }
    auto hidden = parse(varntree::root(), {"diff", "--help-hidden"});
    auto& h = as<HelpCommand>(hidden);
    EXPECT_EQ(h.visibility, ArgumentVisibility::hidden);
    EXPECT_EQ(names(h.commandStack), (std::vector<std::string>{"varn", "diff"}));
    auto run = h.run();
    ASSERT_FALSE(run);
    EXPECT_TRUE(run.error().as<CommandError>()->parserError.as<ParserError::HelpRequested>());
}

TEST(Values, EveryStrategy) {
    auto r = parse(typeOf<Tool>(), {"run", "--scan", "--verbose", "scanned", "--raw", "--not-an-option", "--tag", "x",
                                    "y", "-Dflag", "file", "--rest", "--name", "z"});
    auto& run = as<RunCommand>(r);
    EXPECT_EQ(run.scan, "scanned");
    EXPECT_EQ(run.raw, "--not-an-option");
    EXPECT_EQ(run.tags, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(run.defines, (std::vector<std::string>{"flag"}));
    EXPECT_EQ(run.file, "file");
    EXPECT_EQ(run.rest, (std::vector<std::string>{"--name", "z"}));
    EXPECT_TRUE(run.verbose);
    EXPECT_EQ(run.name, std::nullopt);
    auto last = parse(typeOf<Tool>(), {"run", "--name", "a", "-n", "b", "--", "--help"});
    EXPECT_EQ(as<RunCommand>(last).name, "b");
    EXPECT_EQ(as<RunCommand>(last).extra, (std::vector<std::string>{"--help"}));
}

TEST(Values, DefaultsArraysAndIntegerRange) {
    auto defaults = parse(typeOf<Tool>(), {"run"});
    auto& run = as<RunCommand>(defaults);
    EXPECT_EQ(run.tags, (std::vector<std::string>{"default"}));
    EXPECT_EQ(run.count, 5);
    EXPECT_TRUE(run.fast);
    auto replaced = parse(typeOf<Tool>(), {"run", "--include", "c", "--include", "d"});
    EXPECT_EQ(as<RunCommand>(replaced).includes, (std::vector<std::string>{"c", "d"}));
    auto limits = parse(typeOf<Tool>(), {"run", "--small=-128", "--count", "+65535"});
    EXPECT_EQ(as<RunCommand>(limits).small, -128);
    EXPECT_EQ(as<RunCommand>(limits).count, 65535);
}

TEST(Values, FlagsGroupsAndWhatNobodyUsed) {
    auto twice = parse(typeOf<Tool>(), {"run", "--fast", "--fast", "--first", "--no-first", "--green"});
    EXPECT_TRUE(as<RunCommand>(twice).fast);
    EXPECT_TRUE(as<RunCommand>(twice).first);
    EXPECT_EQ(as<RunCommand>(twice).color, Color::green);
    // An option group decoded above is reused below.
    auto group = parse(typeOf<Tool>(), {"--level", "3", "pass"});
    EXPECT_EQ(as<Pass>(group).options.level, 3);
    auto pass = parse(typeOf<Tool>(), {"pass", "x", "--odd", "-q", "--", "y"});
    EXPECT_EQ(as<Pass>(pass).words, (std::vector<std::string>{"x", "--odd", "-q", "--", "y"}));
}

// Command lines that are not run: what is printed begins with `text`.
TEST(Refusals, MessageAndStatus) {
    struct Case {
        const CommandType& root;
        std::vector<std::string> arguments;
        std::string text;
        int status = 64;
    };
    std::vector<Case> cases{
        // The root's version reaches its subcommands.
        {typeOf<Tool>(), {"run", "--version"}, "1.2.3", 0},
        {varntree::root(), {"_mergetool", "--experimental-dump-help"},
         "{\n  \"command\" : {\n    \"abstract\" : \"Used by 'git mergetool'.", 0},
        {varntree::root(), {"diff", "--generate-completion-script", "zsh", "main"}, "#compdef varn\n", 0},
        // A bad value is reported even with a help request.
        {typeOf<Tool>(), {"run", "--small", "300", "--help"},
         "Error: The value '300' is invalid for '--small <small>'"},
        {typeOf<Tool>(), {"run", "--count=-1"}, "Error: The value '-1' is invalid for '--count <count>'"},
        {typeOf<Tool>(), {"run", "--name"}, "Error: Missing value for '--name <name>'"},
        {typeOf<Tool>(), {"run", "--name", "--verbose"}, "Error: Missing value for '--name <name>'"},
        {typeOf<Tool>(), {"run", "--tag", "--verbose"}, "Error: Missing value for '--tag <tag>'"},
        {typeOf<Tool>(), {"run", "--fast", "--no-fast"},
         "Error: Value to be set with flag '--no-fast' had already been set with flag '--fast'\n"},
        // A failure carries the stack of the command it belongs to.
        {typeOf<Tool>(), {"strict", "--", "-1"}, "Error: n must not be negative\nUsage: tool strict"},
    };
    for (std::string bad : {"128", "-129", "1x", "+", " 1", "0x1", "1.0"})
        cases.push_back({typeOf<Tool>(), {"run", "--small=" + bad},
                         "Error: The value '" + bad + "' is invalid for '--small <small>'\n"});
    for (const auto& c : cases) {
        auto [text, status] = outcome(c.root, c.arguments);
        EXPECT_TRUE(text.starts_with(c.text)) << c.arguments.back() << ":\n" << text;
        EXPECT_EQ(status, c.status) << c.arguments.back();
    }
}
