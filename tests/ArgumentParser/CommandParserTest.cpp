#include <gtest/gtest.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/HelpCommand.hpp"
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

const CommandError& failure(const Result<std::unique_ptr<ParsableCommand>>& r) {
    static const CommandError none{{}, ParserError::InvalidState{}};
    EXPECT_FALSE(r) << "parse succeeded";
    if (r) return none;
    auto e = r.error().as<CommandError>();
    EXPECT_NE(e, nullptr);
    return e ? *e : none;
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

struct Complete : ParsableCommand {
    static constexpr std::string_view typeName = "Complete";
    static CommandConfiguration configuration() { return {}; }
    static void arguments(Arguments<Complete>& a) {
        auto echo = [](const std::vector<std::string>& words) {
            std::vector<std::string> out{"count=" + std::to_string(words.size())};
            out.insert(out.end(), words.begin(), words.end());
            return out;
        };
        a.option("pick", &Complete::pick, {.completion = CompletionKind::custom(echo)});
        a.argument("thing", &Complete::thing, {.completion = CompletionKind::custom(echo)});
    }
    std::optional<std::string> pick, thing;
};

struct Tool : ParsableCommand {
    static constexpr std::string_view typeName = "Tool";
    static CommandConfiguration configuration() {
        return {.commandName = "tool",
                .version = "1.2.3",
                .subcommands = {typeOf<RunCommand>, typeOf<Pass>, typeOf<Strict>, typeOf<Complete>}};
    }
    static void arguments(Arguments<Tool>& a) { a.group("options", &Tool::options); }
    Options options;
};

}  // namespace

TEST(Descent, DefaultSubcommandTakesABarePath) {
    auto r = parse(varntree::root(), {"some/path"});
    EXPECT_EQ(as<varntree::DefaultCommand>(r).repo, "some/path");
    auto none = parse(varntree::root(), {});
    EXPECT_EQ(as<varntree::DefaultCommand>(none).repo, std::nullopt);
}

TEST(Descent, HelpRequestsNameTheCommandTheyReach) {
    struct Case {
        const CommandType& root;
        std::vector<std::string> arguments;
        std::vector<std::string> stack;
    } cases[] = {
        {varntree::root(), {"--help"}, {"varn"}},
        {varntree::root(), {"path", "--help"}, {"varn", "open"}},
        {varntree::root(), {"help", "diff"}, {"varn", "diff"}},
        // The help subcommand stops at a name that is no subcommand.
        {varntree::root(), {"help", "nothing", "diff"}, {"varn"}},
        // Help wins over a missing argument.
        {varntree::root(), {"diff", "--help"}, {"varn", "diff"}},
        {typeOf<Tool>(), {"run", "-vh"}, {"tool", "run"}},
        {typeOf<Tool>(), {"pass", "x", "--help"}, {"tool", "pass"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
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

TEST(Descent, HiddenSubcommandsAreSelectedByName) {
    auto r = parse(varntree::root(), {"_mergetool", "--base", "b", "--local", "l", "--remote", "r", "--merged", "m"});
    auto& m = as<varntree::Mergetool>(r);
    EXPECT_EQ(m.base + m.local + m.remote + m.merged, "blrm");
    auto missing = parse(varntree::root(), {"_difftool", "--base", "b", "--local", "l", "--remote", "r"});
    const auto& e = failure(missing);
    EXPECT_EQ(names(e.commandStack), (std::vector<std::string>{"varn", "_difftool"}));
    ASSERT_TRUE(e.parserError.as<ParserError::NoValue>());
    EXPECT_EQ(e.parserError.as<ParserError::NoValue>()->forKey.name, "merged");
}

TEST(Descent, DiffFillsItsPropertiesInOrder) {
    auto one = parse(varntree::root(), {"diff", "main"});
    auto& d = as<varntree::Diff>(one);
    EXPECT_EQ(d.revspecA, "main");
    EXPECT_EQ(d.revspecB, std::nullopt);
    EXPECT_TRUE(d.paths.empty());
    auto all = parse(varntree::root(), {"diff", "a", "-r", "repo", "b", "x", "y"});
    auto& f = as<varntree::Diff>(all);
    EXPECT_EQ(f.repo, "repo");
    EXPECT_EQ(f.revspecB, "b");
    EXPECT_EQ(f.paths, (std::vector<std::string>{"x", "y"}));
}

TEST(BuiltinFlags, VersionOnlyWhenConfigured) {
    auto r = parse(typeOf<Tool>(), {"run", "--version"});
    const auto& e = failure(r);
    EXPECT_TRUE(e.parserError.as<ParserError::VersionRequested>());
    auto varn = parse(varntree::root(), {"--version"});
    const auto& unknown = failure(varn);
    ASSERT_TRUE(unknown.parserError.as<ParserError::UnknownOption>());
    EXPECT_EQ(unknown.parserError.as<ParserError::UnknownOption>()->name, Name::long_("version"));
}

TEST(BuiltinFlags, HelpAfterTheTerminatorIsAValueAndDumpIsAnswered) {
    auto afterTerminator = parse(typeOf<Tool>(), {"run", "--", "--help"});
    EXPECT_EQ(as<RunCommand>(afterTerminator).extra, (std::vector<std::string>{"--help"}));
    auto dump = parse(varntree::root(), {"_mergetool", "--experimental-dump-help"});
    const auto& e = failure(dump);
    EXPECT_TRUE(e.parserError.as<ParserError::DumpHelpRequested>());
    EXPECT_EQ(names(e.commandStack), (std::vector<std::string>{"varn", "_mergetool"}));
}

TEST(BuiltinFlags, BadValueIsReportedEvenWithHelp) {
    auto r = parse(typeOf<Tool>(), {"run", "--small", "300", "--help"});
    EXPECT_TRUE(failure(r).parserError.as<ParserError::UnableToParseValue>());
}

TEST(Leftovers, UnknownOptionIsReportedForTheDeepestCommand) {
    auto r = parse(varntree::root(), {"diff", "--frob", "main"});
    const auto& e = failure(r);
    EXPECT_EQ(names(e.commandStack), (std::vector<std::string>{"varn", "diff"}));
    auto u = e.parserError.as<ParserError::UnknownOption>();
    ASSERT_TRUE(u);
    EXPECT_EQ(u->name, Name::long_("frob"));
    EXPECT_EQ(u->origin, InputOrigin::Element::argumentIndex(SplitIndex{1, std::nullopt}));
}

TEST(Leftovers, ExtraValuesAreReportedTogether) {
    auto r = parse(varntree::root(), {"merge", "a", "b", "c"});
    auto extra = failure(r).parserError.as<ParserError::UnexpectedExtraValues>();
    ASSERT_TRUE(extra);
    ASSERT_EQ(extra->values.size(), 2u);
    EXPECT_EQ(extra->values[0].second, "b");
    EXPECT_EQ(extra->values[1].second, "c");
}

TEST(Leftovers, AFlagWithAnAttachedValue) {
    auto r = parse(typeOf<Tool>(), {"run", "--verbose=x"});
    auto e = failure(r).parserError.as<ParserError::UnexpectedValueForOption>();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->name, Name::long_("verbose"));
    EXPECT_EQ(e->value, "x");
}

TEST(Leftovers, NoArgumentsWrapsTheFailure) {
    auto r = parse(typeOf<Strict>(), {});
    auto e = failure(r).parserError.as<ParserError::NoArguments>();
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->error->as<ParserError>()->as<ParserError::NoValue>());
}

TEST(OptionValues, LastOccurrenceWinsAndBothPositionsAreUsed) {
    auto r = parse(typeOf<Tool>(), {"run", "--name", "a", "-n", "b"});
    EXPECT_EQ(as<RunCommand>(r).name, "b");
}

TEST(OptionValues, EveryStrategy) {
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
}

TEST(OptionValues, MissingValues) {
    auto bare = parse(typeOf<Tool>(), {"run", "--name"});
    auto e = failure(bare).parserError.as<ParserError::MissingValueForOption>();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->name, Name::long_("name"));
    auto tags = parse(typeOf<Tool>(), {"run", "--tag", "--verbose"});
    EXPECT_TRUE(failure(tags).parserError.as<ParserError::MissingValueForOption>());
    auto nextIsOption = parse(typeOf<Tool>(), {"run", "--name", "--verbose"});
    EXPECT_TRUE(failure(nextIsOption).parserError.as<ParserError::MissingValueForOption>());
}

TEST(Decoding, DefaultsAndArrays) {
    auto r = parse(typeOf<Tool>(), {"run"});
    auto& run = as<RunCommand>(r);
    EXPECT_EQ(run.tags, (std::vector<std::string>{"default"}));
    EXPECT_EQ(run.count, 5);
    EXPECT_TRUE(run.fast);
    auto replaced = parse(typeOf<Tool>(), {"run", "--include", "c", "--include", "d"});
    EXPECT_EQ(as<RunCommand>(replaced).includes, (std::vector<std::string>{"c", "d"}));
}

TEST(Decoding, IntegerConversionAndRange) {
    auto ok = parse(typeOf<Tool>(), {"run", "--small=-128", "--count", "+65535"});
    EXPECT_EQ(as<RunCommand>(ok).small, -128);
    EXPECT_EQ(as<RunCommand>(ok).count, 65535);
    for (const char* bad : {"128", "-129", "1x", "+", " 1", "0x1", "1.0"}) {
        auto r = parse(typeOf<Tool>(), {"run", std::string("--small=") + bad});
        auto e = failure(r).parserError.as<ParserError::UnableToParseValue>();
        ASSERT_TRUE(e) << bad;
        EXPECT_EQ(e->value, bad);
        EXPECT_EQ(e->forKey.name, "small");
        EXPECT_EQ(e->name, Name::long_("small"));
    }
    auto unsignedNegative = parse(typeOf<Tool>(), {"run", "--count=-1"});
    EXPECT_TRUE(failure(unsignedNegative).parserError.as<ParserError::UnableToParseValue>());
}

TEST(Decoding, FlagExclusivity) {
    auto twice = parse(typeOf<Tool>(), {"run", "--fast", "--fast"});
    EXPECT_TRUE(as<RunCommand>(twice).fast);
    auto conflict = parse(typeOf<Tool>(), {"run", "--fast", "--no-fast"});
    auto e = failure(conflict).parserError.as<ParserError::DuplicateExclusiveValues>();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->previous, InputOrigin::at(SplitIndex{1, std::nullopt}));
    EXPECT_EQ(e->duplicate, InputOrigin::at(SplitIndex{2, std::nullopt}));
    auto chooseFirst = parse(typeOf<Tool>(), {"run", "--first", "--no-first"});
    EXPECT_TRUE(as<RunCommand>(chooseFirst).first);
    auto colors = parse(typeOf<Tool>(), {"run", "--red", "--green"});
    EXPECT_TRUE(failure(colors).parserError.as<ParserError::DuplicateExclusiveValues>());
    auto green = parse(typeOf<Tool>(), {"run", "--green"});
    EXPECT_EQ(as<RunCommand>(green).color, Color::green);
}

TEST(Decoding, OptionGroupsDecodedAboveAreReused) {
    auto r = parse(typeOf<Tool>(), {"--level", "3", "pass"});
    EXPECT_EQ(as<Pass>(r).options.level, 3);
}

TEST(Decoding, AllUnrecognizedTakesWhatNobodyUsed) {
    auto r = parse(typeOf<Tool>(), {"pass", "x", "--odd", "-q", "--", "y"});
    EXPECT_EQ(as<Pass>(r).words, (std::vector<std::string>{"x", "--odd", "-q", "--", "y"}));
}

TEST(Decoding, ValidationFailureCarriesTheCommandStack) {
    auto r = parse(typeOf<Tool>(), {"strict", "--", "-1"});
    const auto& e = failure(r);
    EXPECT_EQ(names(e.commandStack), (std::vector<std::string>{"tool", "strict"}));
    auto v = e.parserError.as<ParserError::UserValidationError>();
    ASSERT_TRUE(v);
    EXPECT_EQ(v->error->as<ValidationError>()->message, "n must not be negative");
}

TEST(Requests, CompletionScriptOptionAnywhere) {
    auto named = parse(varntree::root(), {"diff", "--generate-completion-script", "zsh", "main"});
    auto e = failure(named).parserError.as<ParserError::CompletionScriptRequested>();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->shell, "zsh");
    auto attached = parse(varntree::root(), {"--generate-completion-script=fish"});
    EXPECT_EQ(failure(attached).parserError.as<ParserError::CompletionScriptRequested>()->shell, "fish");
    auto bare = parse(varntree::root(), {"--generate-completion-script"});
    EXPECT_EQ(failure(bare).parserError.as<ParserError::CompletionScriptRequested>()->shell, std::nullopt);
}

TEST(Requests, CustomCompletionByOptionOrPropertyName) {
    auto byOption = parse(typeOf<Tool>(), {"---completion", "complete", "--", "--pick", "tool", "complete", "x"});
    auto r = failure(byOption).parserError.as<ParserError::CompletionScriptCustomResponse>();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "count=3\ntool\ncomplete\nx");
    auto byProperty = parse(typeOf<Tool>(), {"---completion", "complete", "--", "thing"});
    EXPECT_EQ(failure(byProperty).parserError.as<ParserError::CompletionScriptCustomResponse>()->text, "count=0");
    for (auto bad : std::vector<std::vector<std::string>>{{"---completion", "nothing", "--", "thing"},
                                                          {"---completion", "complete"},
                                                          {"---completion", "run", "--", "--name"}})
        EXPECT_TRUE(failure(parse(typeOf<Tool>(), bad)).parserError.as<ParserError::InvalidState>());
}
