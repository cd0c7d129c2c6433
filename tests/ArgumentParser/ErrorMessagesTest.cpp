// Whole failure and request outputs: the text, whether it is help for
// standard output, and the exit status.
#include <gtest/gtest.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/ErrorMessages.hpp"
#include "ArgumentParser/HelpGenerator.hpp"
#include "ArgumentParser/MessageInfo.hpp"
#include "VarnTree.hpp"

using namespace ap;

namespace {

enum class Color { red, green, blue };
enum class Speed { fast, slow };

}  // namespace

template <>
struct ap::ArgumentValue<Color> {
    static std::optional<Color> parse(std::string_view text) {
        if (text == "red") return Color::red;
        if (text == "green") return Color::green;
        if (text == "blue") return Color::blue;
        return std::nullopt;
    }
    static std::vector<std::string> allValueStrings() { return {"red", "green", "blue"}; }
    static std::string defaultValueDescription(Color) { return "red"; }
};

namespace {

struct Paint : ParsableCommand {
    static constexpr std::string_view typeName = "Paint";
    static CommandConfiguration configuration() { return {.commandName = "paint", .version = "2.1"}; }
    static void arguments(Arguments<Paint>& a) {
        a.option("revspecA", &Paint::revspecA, {.help = "First."});
        a.option("revspecB", &Paint::revspecB, {.help = "Second."});
        a.option("color", &Paint::color, {.name = NameSpecification::shortAndLong(), .help = "The color."});
        a.option("count", &Paint::count, {.help = "How many."});
        a.flag("verbose", &Paint::verbose, {.help = "Talk more."});
        a.flags("speed", &Paint::speed, std::vector<FlagCase<Speed>>{{Speed::fast, "fast"}, {Speed::slow, "slow"}});
    }
    std::optional<std::string> revspecA, revspecB;
    std::optional<Color> color;
    std::optional<int> count;
    bool verbose = false;
    std::optional<Speed> speed;
    Result<void> validate() override {
        if (count && *count < 0) return ValidationError{"The count must not be negative."};
        return {};
    }
};

struct Plain : ParsableCommand {
    static constexpr std::string_view typeName = "Plain";
    static CommandConfiguration configuration() { return {.commandName = "plain", .usage = ""}; }
};

struct Outcome {
    std::string text;
    int status;
    bool toStandardOutput;

    friend bool operator==(const Outcome&, const Outcome&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Outcome& o) {
        return os << "{status " << o.status << (o.toStandardOutput ? ", out" : ", err") << ":\n" << o.text << "}";
    }
};

Outcome outcomeOf(const Error& error, const CommandType& root) {
    auto info = MessageInfo::make(error, root, 80);
    return {info.fullText(), info.exitCode(), info.isHelp()};
}

// Parses and runs as the main entry does, without ending the process.
Outcome run(const CommandType& root, std::vector<std::string> arguments) {
    auto command = parseAsRoot(root, std::move(arguments));
    if (!command) return outcomeOf(command.error(), root);
    auto ran = (*command)->run();
    if (!ran) return outcomeOf(ran.error(), root);
    return {"", 0, false};
}

Outcome varn(std::vector<std::string> arguments) { return run(varntree::root(), std::move(arguments)); }

Outcome failure(std::string text) { return {std::move(text), 64, false}; }

const std::string varnUsage = "Usage: varn <subcommand>\n  See 'varn --help' for more information.";
const std::string mergeUsage = "Usage: varn merge <file>\n  See 'varn merge --help' for more information.";
const std::string diffUsage =
    "Usage: varn diff [--repo <repo>] <revspec-a> [<revspec-b>] [<paths> ...]\n"
    "  See 'varn diff --help' for more information.";
const std::string paintUsage =
    "Usage: paint [--revspec-a <revspec-a>] [--revspec-b <revspec-b>] [--color <color>] [--count <count>] "
    "[--verbose] [--fast] [--slow]\n"
    "  See 'paint --help' for more information.";

std::string varnHelp(std::vector<const CommandType*> rest = {}) {
    CommandStack stack{&varntree::root()};
    stack.insert(stack.end(), rest.begin(), rest.end());
    return HelpGenerator(stack, ArgumentVisibility::default_).rendered(80);
}

}  // namespace

TEST(ErrorMessages, MissingArgumentsAndValues) {
    EXPECT_EQ(varn({"merge"}), failure("Error: Missing expected argument '<file>'\n"
                                       "Help:  <file>  The conflicted files to open.\n" +
                                       mergeUsage));
    EXPECT_EQ(varn({"diff", "-r"}), failure("Error: Missing value for '-r <repo>'\n"
                                            "Help:  -r <repo>  The path to the repository.\n" +
                                            diffUsage));
}

TEST(ErrorMessages, UnknownOptions) {
    // Both are one edit away; the one declared first wins.
    EXPECT_EQ(run(typeOf<Paint>(), {"--revspec-x", "1"}),
              failure("Error: Unknown option '--revspec-x'. Did you mean '--revspec-a'?\n" + paintUsage));
    // Short names are neither suggested nor looked up for.
    EXPECT_EQ(varn({"diff", "main", "-x"}), failure("Error: Unknown option '-x'\n" + diffUsage));
    EXPECT_EQ(run(typeOf<Paint>(), {"--c"}),
              failure("Error: Unknown option '--c'\n" + paintUsage));
}

TEST(ErrorMessages, SuggestionRules) {
    ArgumentSet arguments(typeOf<Paint>(), ArgumentVisibility::default_);
    EXPECT_EQ(suggestedName(Name::long_("colour"), arguments), Name::long_("color"));
    EXPECT_EQ(suggestedName(Name::long_("revspecb"), arguments), Name::long_("revspec-b"));
    // Four edits are too many.
    EXPECT_EQ(suggestedName(Name::long_("cxxxxr"), arguments), std::nullopt);
    EXPECT_EQ(suggestedName(Name::longWithSingleDash("color"), arguments), Name::long_("color"));
}

TEST(ErrorMessages, UnexpectedAndInvalidInput) {
    EXPECT_EQ(varn({"merge", "a", "b", "c"}), failure("Error: 2 unexpected arguments: 'b', 'c'\n" + mergeUsage));
    EXPECT_EQ(varn({"---x"}), failure("Error: Invalid option: ---x\n" + varnUsage));
    EXPECT_EQ(varn({"diff", "main", "--", "---"}), (Outcome{"", 0, false}));
    EXPECT_EQ(run(typeOf<Paint>(), {"--verbose=yes"}),
              failure("Error: The option '--verbose' does not take any value, but 'yes' was specified.\n" + paintUsage));
    EXPECT_EQ(run(typeOf<Paint>(), {"--fast", "--slow"}),
              failure("Error: Value to be set with flag '--slow' had already been set with flag '--fast'\n" +
                      paintUsage));
}

TEST(ErrorMessages, UnparsableValues) {
    EXPECT_EQ(run(typeOf<Paint>(), {"--count", "many"}),
              failure("Error: The value 'many' is invalid for '--count <count>'\n"
                      "Help:  --count <count>  How many.\n" +
                      paintUsage));
    EXPECT_EQ(run(typeOf<Paint>(), {"-c", "pink"}),
              failure("Error: The value 'pink' is invalid for '-c <color>'. Please provide one of 'red', 'green' or "
                      "'blue'.\n"
                      "Help:  -c <color>  The color.\n" +
                      paintUsage));
    EXPECT_EQ(acceptedValuesDetail({"a"}), ". Please provide one of 'a'.");
    EXPECT_EQ(acceptedValuesDetail({"a", "b"}), ". Please provide one of 'a' and 'b'.");
    EXPECT_EQ(acceptedValuesDetail({"a", "b", "c", "d", "e"}), ". Please provide one of 'a', 'b', 'c', 'd' or 'e'.");
    EXPECT_EQ(acceptedValuesDetail({"a", "b", "c", "d", "e", "f"}),
              ". Please provide one of the following:\n  - a\n  - b\n  - c\n  - d\n  - e\n  - f");
    ArgumentSet arguments(typeOf<Paint>(), ArgumentVisibility::default_);
    ParserError withCause = ParserError::UnableToParseValue{{}, std::nullopt, "x", InputKey("nothing"), "it broke"};
    EXPECT_EQ(errorDescription(withCause, arguments), "The value 'x' is invalid.: it broke");
    EXPECT_EQ(helpDescription(withCause, arguments), "");
}

TEST(ErrorMessages, FailuresOfCommands) {
    // A validation failure of a subcommand shows that subcommand's usage.
    EXPECT_EQ(run(typeOf<Paint>(), {"--count=-1"}), failure("Error: The count must not be negative.\n" + paintUsage));
    // Failures of a run are reported for the root.
    EXPECT_EQ(outcomeOf(ValidationError{"Bad input."}, varntree::root()), failure("Error: Bad input.\n" + varnUsage));
    // Without a usage only the hint remains.
    EXPECT_EQ(outcomeOf(ValidationError{"Bad input."}, typeOf<Plain>()),
              failure("Error: Bad input.\n  See 'plain --help' for more information."));
    EXPECT_EQ(outcomeOf(ExitCode{3}, varntree::root()), (Outcome{"", 3, false}));
    EXPECT_EQ(outcomeOf(LocalizedError("NSURLErrorDomain", -3001, "No repository found at: /x"), varntree::root()),
              (Outcome{"Error: No repository found at: /x", 1, false}));
    EXPECT_EQ(outcomeOf(CleanExit::message("Done."), varntree::root()), (Outcome{"Done.", 0, true}));
    EXPECT_EQ(outcomeOf(CleanExit::helpRequest(&typeOf<varntree::Merge>()), varntree::root()),
              (Outcome{varnHelp({&typeOf<varntree::Merge>()}), 0, true}));
    EXPECT_EQ(outcomeOf(ParserError::InvalidState{}, varntree::root()),
              failure("Error: Internal error. Invalid state while parsing command-line arguments.\n" + varnUsage));
}

TEST(ErrorMessages, NoArgumentsShowTheRootsWholeHelp) {
    const auto& merge = typeOf<varntree::Merge>();
    EXPECT_EQ(run(merge, {}), failure("Error: Missing expected argument '<file>'\n\n" +
                                      HelpGenerator({&merge}, ArgumentVisibility::default_).rendered(80)));
}

// Help through the help subcommand for a hidden one, and the version, go to
// standard output with status 0.
TEST(Requests, HelpAndVersionGoToStandardOutput) {
    auto help = [](std::string text) { return Outcome{std::move(text), 0, true}; };
    EXPECT_EQ(varn({"help", "_mergetool"}), help(varnHelp({&typeOf<varntree::Mergetool>()})));
    EXPECT_EQ(run(typeOf<Paint>(), {"--version"}), help("2.1"));
}
