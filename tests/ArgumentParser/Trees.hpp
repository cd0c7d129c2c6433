#pragma once
// Small command trees, declared as a tool built on the framework declares
// its commands, each made to show one set of rules:
//   url-names  how names are derived: options, flags, inversions, values
//   parse      each parsing strategy; its commands print what they were given
//   layout     the help screen: sections, columns, wrapping, subcommands;
//              the manual page, and usage lines of many options
//   plain      an empty usage
//   plugin     a command with a super-command name; how a run ends
//   kit        each completion kind, nested and hidden commands
//   described  the shape of the description

#include "ArgumentParser/Declarations.hpp"

namespace trees {

using namespace ap;
using Names = NameSpecification;

enum class Color { red, green, blue };
enum class Size { xs, s, m, l, xl, xxl };
enum class Switch { on, off };
inline std::vector<std::string> valueNames(Color) { return {"red", "green", "blue"}; }
inline std::vector<std::string> valueNames(Size) { return {"xs", "s", "m", "l", "xl", "xxl"}; }
inline std::vector<std::string> valueNames(Switch) { return {"on", "off"}; }

}  // namespace trees

/// Enumerations typed by the names of their values.
template <class E>
requires std::is_enum_v<E> && requires(E e) { trees::valueNames(e); }
struct ap::ArgumentValue<E> {
    static std::optional<E> parse(std::string_view text) {
        auto names = trees::valueNames(E{});
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == text) return static_cast<E>(i);
        return std::nullopt;
    }
    static std::vector<std::string> allValueStrings() { return trees::valueNames(E{}); }
    static std::string defaultValueDescription(E value) {
        return trees::valueNames(E{})[static_cast<std::size_t>(value)];
    }
};

namespace trees {

template <class T>
std::string shown(const T& value) {
    return ArgumentValue<T>::defaultValueDescription(value);
}
template <class T>
std::string shown(const std::optional<T>& value) {
    return value ? shown(*value) : "-";
}
template <class T>
std::string shown(const std::vector<T>& values) {
    std::string text;
    for (const auto& v : values) text += (text.empty() ? "" : ",") + shown(v);
    return text;
}

/// What a command's run prints: "name=value" for each member that differs
/// from a new command's, so that a line shows what the command line set.
template <class C>
class Changes {
public:
    explicit Changes(const C& command) : command_(command) {}
    template <class M>
    Changes& operator()(const char* name, M C::*member) {
        if (!(command_.*member == fresh_.*member))
            text_ += (text_.empty() ? "" : " ") + std::string(name) + "=" + shown(command_.*member);
        return *this;
    }
    Result<void> printed() const { return CleanExit::message(text_); }

private:
    const C& command_;
    C fresh_;
    std::string text_;
};

/// A command named by its type, of the default configuration unless it
/// declares its own.
template <std::size_t N>
struct TypeName {
    constexpr TypeName(const char (&text)[N]) { std::char_traits<char>::copy(name, text, N); }
    char name[N];
};
template <TypeName Name>
struct Command : ParsableCommand {
    static constexpr std::string_view typeName = Name.name;
    static CommandConfiguration configuration() { return {}; }
};

// url-names ------------------------------------------------------------------

struct URLNames : Command<"URLNames"> {
    static void arguments(Arguments<URLNames>& a) {
        a.option("revspecA", &URLNames::text);
        a.option("revspecB", &URLNames::text);
        a.option("_leading", &URLNames::text);
        a.option("fileToMerge", &URLNames::text, {.name = Names::shortAndLong()});
        a.option("ÄrgerÖl", &URLNames::text);
        a.option("name", &URLNames::text, {.name = {Names::customLong("name", true)}});
        a.flag("color", &URLNames::on,
               {.name = Names::shortAndLong(), .inversion = FlagInversion::prefixedEnableDisable});
        a.flag("dryRun", &URLNames::on,
               {.name = {Names::customLong("dry_run")}, .inversion = FlagInversion::prefixedNo});
        a.flag("camel", &URLNames::on,
               {.name = {Names::customLong("camelCase")}, .inversion = FlagInversion::prefixedNo});
        a.flag("dashed", &URLNames::on,
               {.name = {Names::customLong("dashed-name")}, .inversion = FlagInversion::prefixedNo});
        a.flag("quiet", &URLNames::count, {.name = Names::short_()});
        a.flags("speed", &URLNames::speed,
                std::vector<FlagCase<Switch>>{{Switch::on, "fast"}, {Switch::off, "slowDown"}}, {.defaulted = true});
        a.argument("targetDir", &URLNames::target, {.help = "The target."});
    }
    std::optional<std::string> text;
    std::string target;
    bool on = false;
    int count = 0;
    Switch speed = Switch::on;
    Result<void> run() override { return {}; }
};

// parse ----------------------------------------------------------------------

/// An option group, declared by the root and by a subcommand.
struct Level {
    int level = 1;
    static void arguments(Arguments<Level>& a) { a.option("level", &Level::level, {.defaulted = true}); }
    friend bool operator==(const Level&, const Level&) = default;
};
inline std::string shown(const Level& group) { return shown(group.level); }

struct Run : Command<"Run"> {
    static void arguments(Arguments<Run>& a) {
        a.option("name", &Run::name, {.name = Names::shortAndLong(), .help = "The name."});
        a.option("scan", &Run::scan, {.parsing = SingleValueParsingStrategy::scanningForValue()});
        a.option("raw", &Run::raw, {.parsing = SingleValueParsingStrategy::unconditional()});
        a.option("tag", &Run::tags, {.arrayParsing = ArrayParsingStrategy::upToNextOption(), .defaulted = true});
        a.option("rest", &Run::rest, {.arrayParsing = ArrayParsingStrategy::remaining(), .defaulted = true});
        a.option("item", &Run::items,
                 {.arrayParsing = ArrayParsingStrategy::unconditionalSingleValue(), .defaulted = true});
        a.option("define", &Run::defines, {.name = {Names::customShort("D", true)}, .defaulted = true});
        a.option("include", &Run::includes, {.defaulted = true});
        a.option("small", &Run::small, {.help = "A small number."});
        a.option("count", &Run::count, {.defaulted = true}, [](std::string_view text) -> Conversion<std::uint16_t> {
            if (auto count = ArgumentValue<std::uint16_t>::parse(text)) return *count;
            return ConversionError{"Not a count."};
        });
        a.option("ratio", &Run::ratio, {.help = "A ratio.", .defaulted = true});
        a.option("shade", &Run::shade, {.name = Names::shortAndLong(), .help = "The shade."});
        a.option("size", &Run::size);
        a.option("switch", &Run::power);
        a.flag("verbose", &Run::verbose, {.name = Names::shortAndLong()});
        a.flag("fast", &Run::fast, {.inversion = FlagInversion::prefixedNo, .exclusivity = FlagExclusivity::exclusive});
        a.flag("first", &Run::first,
               {.inversion = FlagInversion::prefixedNo, .exclusivity = FlagExclusivity::chooseFirst});
        a.flags("color", &Run::color,
                std::vector<FlagCase<Color>>{{Color::red, "red"}, {Color::green, "green"}, {Color::blue, "blue"}});
        a.argument("file", &Run::file);
        a.argument("extra", &Run::extra,
                   {.parsing = ArgumentArrayParsingStrategy::postTerminator(), .defaulted = true});
    }
    std::optional<std::string> name, scan, raw, file;
    std::vector<std::string> tags{"default"}, rest, items, defines, includes{"a", "b"}, extra;
    std::optional<std::int8_t> small;
    std::uint16_t count = 5;
    double ratio = 0.5;
    std::optional<Color> shade, color;
    std::optional<Size> size;
    std::optional<Switch> power;
    bool verbose = false, fast = true, first = false;
    Result<void> run() override {
        return Changes(*this)("name", &Run::name)("scan", &Run::scan)("raw", &Run::raw)("tag", &Run::tags)(
                   "rest", &Run::rest)("item", &Run::items)("define", &Run::defines)("include", &Run::includes)(
                   "small", &Run::small)("count", &Run::count)("ratio", &Run::ratio)("shade", &Run::shade)(
                   "size", &Run::size)("switch", &Run::power)("verbose", &Run::verbose)("fast", &Run::fast)(
                   "first", &Run::first)("color", &Run::color)("file", &Run::file)("extra", &Run::extra)
            .printed();
    }
};

/// Takes every word no other argument takes.
struct Pass : Command<"Pass"> {
    static void arguments(Arguments<Pass>& a) {
        a.group("options", &Pass::options);
        a.argument("words", &Pass::words,
                   {.parsing = ArgumentArrayParsingStrategy::allUnrecognized(), .defaulted = true});
    }
    Level options;
    std::vector<std::string> words;
    Result<void> run() override { return Changes(*this)("level", &Pass::options)("words", &Pass::words).printed(); }
};

/// Takes the rest of the line from its first word on; the default subcommand.
struct Exec : Command<"Exec"> {
    static void arguments(Arguments<Exec>& a) {
        a.argument("words", &Exec::words,
                   {.parsing = ArgumentArrayParsingStrategy::unconditionalRemaining(), .defaulted = true});
    }
    std::vector<std::string> words;
    Result<void> run() override { return Changes(*this)("words", &Exec::words).printed(); }
};

struct Strict : Command<"Strict"> {
    static void arguments(Arguments<Strict>& a) {
        a.argument("n", &Strict::n, {.help = "A number."});
        a.option("tag", &Strict::tags, {.help = "Tags."});
        a.flags("pace", &Strict::pace,
                std::vector<FlagCase<Switch>>{{Switch::on, "fast", "Quickly."}, {Switch::off, "slow"}});
    }
    int n = 0;
    std::vector<std::string> tags;
    Switch pace = Switch::on;
    Result<void> validate() override {
        if (n < 0) return ValidationError{"n must not be negative"};
        return {};
    }
    Result<void> run() override {
        return Changes(*this)("n", &Strict::n)("tag", &Strict::tags)("pace", &Strict::pace).printed();
    }
};

struct Parse : Command<"Parse"> {
    static CommandConfiguration configuration() {
        return {.subcommands = {typeOf<Run>, typeOf<Pass>, typeOf<Exec>, typeOf<Strict>},
                .defaultSubcommand = typeOf<Exec>};
    }
    static void arguments(Arguments<Parse>& a) { a.group("options", &Parse::options); }
    Level options;
};

// layout ---------------------------------------------------------------------

/// Thirteen optional options, and with `Required` one more that must be given.
template <bool Required>
struct Many : Command<"Many"> {
    static CommandConfiguration configuration() { return {.commandName = Required ? "more" : "many"}; }
    static void arguments(Arguments<Many>& a) {
        for (auto name : {"o1", "o2", "o3", "o4", "o5", "o6", "o7", "o8", "o9", "o10", "o11", "o12", "o13"})
            a.option(name, &Many::word);
        if (Required) a.option("need", &Many::need);
    }
    std::optional<std::string> word;
    std::string need;
};

struct First : Command<"First"> {
    static CommandConfiguration configuration() {
        return {
            .abstract = "Do the first thing.",
            .usage = "layout first <path>\nlayout first --help",
            .discussion = ".starts with a dot, has a \\ and \\fB, ends in caf\u00e9\n\n'quoted\n indented\n.br is text",
            .subcommands = {typeOf<Many<false>>, typeOf<Many<true>>}};
    }
    static void arguments(Arguments<First>& a) { a.argument("path", &First::path); }
    std::optional<std::string> path;
    Result<void> run() override { return Changes(*this)("path", &First::path).printed(); }
};

struct SecondThing : Command<"SecondThing"> {
    static CommandConfiguration configuration() {
        return {.abstract = "Do the second thing.",
                .helpNames = Names{Names::customLong("info"), Names::customShort("?")}};
    }
};

struct Hidden : Command<"Hidden"> {
    static CommandConfiguration configuration() {
        return {.commandName = "_hidden",
                .abstract = "Not listed.",
                .shouldDisplay = false,
                .subcommands = {typeOf<Many<false>>}};
    }
};

/// Texts with line breaks and discussions, for narrow screens, and what
/// only the hidden help lists.
struct Texts : Command<"Texts"> {
    static CommandConfiguration configuration() {
        return {.abstract = "Line one.\nLine two.", .discussion = "More \u0301about it.\n\u0301\u2026 and on"};
    }
    static void arguments(Arguments<Texts>& a) {
        a.option("mode", &Texts::mode,
                 {.name = Names::shortAndLong(), .help = ArgumentHelp("First line.\nSecond line.", "Goes on.")});
        // Thirteen characters, many more bytes.
        a.flag("verbose", &Texts::verbose,
               {.inversion = FlagInversion::prefixedNo, .help = "Caf\u00e9 \u2026 e\u0301t\u00e9 ok"});
        a.option("secret", &Texts::mode, {.help = ArgumentHelp("", "", std::nullopt, ArgumentVisibility::hidden)});
        a.option("internal", &Texts::mode, {.help = ArgumentHelp("", "", std::nullopt, ArgumentVisibility::private_)});
    }
    std::optional<std::string> mode;
    bool verbose = false;
};

struct Output {
    int verbose = 0;
    static void arguments(Arguments<Output>& a) {
        a.flag("verbose", &Output::verbose, {.name = Names::shortAndLong(), .help = "More text/plain."});
    }
};

/// Labels either side of the longest that keeps its abstract on its line,
/// counted in characters; sections; values.
struct Columns : Command<"Columns"> {
    static void arguments(Arguments<Columns>& a) {
        a.argument("target", &Columns::target, {.help = "Where to go."});
        // "--" and 21 letters: 23 characters; with two more spaces, 25.
        a.flag("a", &Columns::on, {.name = {Names::customLong(std::string(21, 'a'))}, .help = "Fits."});
        a.flag("b", &Columns::on, {.name = {Names::customLong(std::string(22, 'b'))}, .help = "Too long."});
        a.flag("resume", &Columns::on, {.name = {Names::customLong("re\u0301sume\u0301")}, .help = "Accents."});
        a.group("output", &Columns::output, {.title = "Output Options"});
        a.group("options", &Columns::options, {.title = "Output Options"});
        a.option("shade", &Columns::shade, {.help = "The shade.", .defaulted = true});
    }
    std::string target;
    bool on = false;
    Output output;
    Level options;
    Color shade = Color::red;
};

struct Layout : Command<"Layout"> {
    static CommandConfiguration configuration() {
        return {.abstract = "Shows the parts of a help screen and how they wrap.",
                .version = "1.0",
                .subcommands = {typeOf<First>, typeOf<SecondThing>, typeOf<Texts>, typeOf<Columns>, typeOf<Hidden>},
                .defaultSubcommand = typeOf<First>};
    }
    static void arguments(Arguments<Layout>& a) {
        a.option("name", &Layout::name, {.help = "The name to use.", .defaulted = true});
    }
    std::string name = "world";
};

// plugin: how a run ends ------------------------------------------------------

/// Ends its run as its argument says.
struct End : Command<"End"> {
    static void arguments(Arguments<End>& a) { a.argument("how", &End::how); }
    std::string how;
    Result<void> run() override {
        if (how == "invalid") return ValidationError{"Nothing to do."};
        if (how == "three") return ExitCode{3};
        if (how == "help") return CleanExit::helpRequest();
        if (how == "describe") return CleanExit::dumpRequest();
        std::printf(how == "broken" ? "partial output" : "done\n");  // still buffered when the run ends
        if (how == "broken") return platform::Error{"NSURLErrorDomain", -3001, "No repository found at: /nowhere"};
        return {};
    }
};

// plain, plugin --------------------------------------------------------------

struct Plain : Command<"Plain"> {
    static CommandConfiguration configuration() { return {.usage = ""}; }
    static void arguments(Arguments<Plain>& a) { a.argument("word", &Plain::word, {.help = "A word."}); }
    std::string word;
};

struct Leaf : Command<"Leaf"> {
    static CommandConfiguration configuration() { return {.helpNames = Names{}}; }
};
/// Has subcommands but no default, and keeps the default run.
struct Plugin : Command<"Plugin"> {
    static CommandConfiguration configuration() {
        return {.superCommandName = "host", .subcommands = {typeOf<End>, typeOf<Leaf>}};
    }
};

// kit ------------------------------------------------------------------------

/// Candidates that show which words the tool was handed.
inline std::vector<std::string> echoWords(const std::vector<std::string>& words) {
    std::vector<std::string> candidates{"alpha", "beta"};
    for (const auto& w : words) candidates.push_back("got:" + w);
    return candidates;
}

struct Deep : Command<"Deep"> {
    static CommandConfiguration configuration() {
        return {.abstract = "Deep.\n\nDown.", .subcommands = {typeOf<Leaf>}};
    }
    static void arguments(Arguments<Deep>& a) {
        a.option("level", &Deep::word, {.completion = CompletionKind::list({"one", "two"})});
    }
    std::optional<std::string> word;
};

struct Fetch : Command<"Fetch"> {
    static CommandConfiguration configuration() { return {.abstract = "Fetch 'all'.", .subcommands = {typeOf<Deep>}}; }
    static void arguments(Arguments<Fetch>& a) {
        a.option("depth", &Fetch::word, {.help = "Depth.", .completion = CompletionKind::custom(echoWords)});
        a.argument("remote", &Fetch::word, {.completion = CompletionKind::custom(echoWords)});
        a.argument("kind", &Fetch::word, {.completion = CompletionKind::list({"red", "green"})});
        a.argument("rev", &Fetch::word, {.completion = CompletionKind::shellCommand("echo v1; echo v2")});
        a.argument("path", &Fetch::word, {.completion = CompletionKind::file({"c"})});
        a.argument("hiddenWord", &Fetch::word,
                   {.help = ArgumentHelp("", "", std::nullopt, ArgumentVisibility::hidden),
                    .completion = CompletionKind::list({"concealed"})});
    }
    std::optional<std::string> word;
};

struct Internal : Command<"Internal"> {
    static CommandConfiguration configuration() { return {.commandName = "_internal", .shouldDisplay = false}; }
};

struct Kit : Command<"Kit"> {
    static CommandConfiguration configuration() { return {.subcommands = {typeOf<Fetch>, typeOf<Internal>}}; }
    static void arguments(Arguments<Kit>& a) {
        a.option("mode", &Kit::word,
                 {.name = Names::shortAndLong(),
                  .help = "Mode.",
                  .completion = CompletionKind::list({"fast", "slow"})});
        a.option("config", &Kit::word,
                 {.help = "Don't [use] back\\slash\\", .completion = CompletionKind::file({"txt", "md"})});
        a.option("input", &Kit::word, {.help = "Input.", .completion = CompletionKind::file()});
        a.option("outDir", &Kit::word, {.help = "Output.", .completion = CompletionKind::directory()});
        a.option("branch", &Kit::word, {.completion = CompletionKind::shellCommand("echo main; echo dev")});
        a.option("name", &Kit::word,
                 {.name = {Names::customLong("name", true)}, .completion = CompletionKind::custom(echoWords)});
        a.option("plain", &Kit::word, {.help = ArgumentHelp("Plain.", "", "text")});
        a.flag("verbose", &Kit::on);
        a.flag("quiet", &Kit::on, {.help = ArgumentHelp("Quiet.", "", std::nullopt, ArgumentVisibility::hidden)});
    }
    std::optional<std::string> word;
    bool on = false;
};

// described ------------------------------------------------------------------

struct Build : Command<"Build"> {
    static CommandConfiguration configuration() {
        return {.abstract = "Build a target.", .discussion = "Builds what is named,\nand nothing else."};
    }
    static void arguments(Arguments<Build>& a) {
        a.argument("target", &Build::target,
                   {.help = ArgumentHelp("", "", "name", ArgumentVisibility::hidden), .defaulted = true});
        a.group("output", &Build::output, {.title = "Output Options"});
    }
    Switch target = Switch::on;
    Output output;
};

/// Without help names, so that no command lists the help flag.
struct Described : Command<"Described"> {
    static CommandConfiguration configuration() {
        return {.subcommands = {typeOf<Build>, typeOf<Internal>},
                .defaultSubcommand = typeOf<Build>,
                .helpNames = Names{}};
    }
};

// loop, empty-short: declarations that cannot work ----------------------------

struct Loop : Command<"Loop"> {
    static CommandConfiguration configuration() { return {.subcommands = {typeOf<Loop>}}; }
};
struct EmptyShort : Command<"EmptyShort"> {
    static void arguments(Arguments<EmptyShort>& a) { a.option("_", &EmptyShort::value, {.name = Names::short_()}); }
    std::optional<std::string> value;
};

/// The trees by their root's name.
inline const CommandType* named(std::string_view name) {
    for (auto root : {&typeOf<URLNames>(), &typeOf<Parse>(), &typeOf<Layout>(), &typeOf<Plain>(), &typeOf<Plugin>(),
                      &typeOf<Kit>(), &typeOf<Described>(), &typeOf<Loop>(), &typeOf<EmptyShort>()})
        if (root->commandName() == name) return root;
    return nullptr;
}

}  // namespace trees
