#pragma once
// A command tree for the completion-script tests that declares every
// completion kind.

#include <optional>
#include <string>
#include <vector>

#include "ArgumentParser/Declarations.hpp"

namespace completiontrees {

using namespace ap;

/// Candidates that show which words the tool was handed.
inline std::vector<std::string> echoWords(const std::vector<std::string>& words) {
    std::vector<std::string> candidates{"alpha", "beta"};
    for (const auto& w : words) candidates.push_back("got:" + w);
    return candidates;
}

struct Deep : ParsableCommand {
    static constexpr std::string_view typeName = "Deep";
    static CommandConfiguration configuration() { return {.abstract = "Deep."}; }
    static void arguments(Arguments<Deep>& a) {
        a.option("level", &Deep::level, {.completion = CompletionKind::list({"one", "two"})});
    }
    std::optional<std::string> level;
};

struct FetchAll : ParsableCommand {
    static constexpr std::string_view typeName = "FetchAll";
    static CommandConfiguration configuration() { return {.abstract = "Fetch 'all'.", .subcommands = {typeOf<Deep>}}; }
    static void arguments(Arguments<FetchAll>& a) {
        a.option("depth", &FetchAll::depth, {.help = "Depth.", .completion = CompletionKind::custom(echoWords)});
        a.argument("remote", &FetchAll::remote, {.completion = CompletionKind::custom(echoWords)});
    }
    std::optional<std::string> depth;
    std::optional<std::string> remote;
};

struct Secret : ParsableCommand {
    static constexpr std::string_view typeName = "Secret";
    static CommandConfiguration configuration() { return {.commandName = "_secret", .shouldDisplay = false}; }
    static void arguments(Arguments<Secret>& a) { a.flag("whisper", &Secret::whisper); }
    bool whisper = false;
};

/// Every completion kind, on options and on positionals, next to hidden and
/// private definitions and a hidden subcommand.
struct KitTool : ParsableCommand {
    static constexpr std::string_view typeName = "KitTool";
    static CommandConfiguration configuration() {
        return {.subcommands = {typeOf<FetchAll>, typeOf<Secret>}};
    }
    static void arguments(Arguments<KitTool>& a) {
        a.option("mode", &KitTool::mode,
                 {.name = NameSpecification::shortAndLong(), .help = "Mode.",
                  .completion = CompletionKind::list({"fast", "slow"})});
        a.option("config", &KitTool::config,
                 {.help = "Don't [use] back\\slash.", .completion = CompletionKind::file({"txt", "md"})});
        a.option("input", &KitTool::input, {.help = "Input.", .completion = CompletionKind::file()});
        a.option("outDir", &KitTool::outDir, {.help = "Output.", .completion = CompletionKind::directory()});
        a.option("branch", &KitTool::branch, {.completion = CompletionKind::shellCommand("echo main dev")});
        a.option("name", &KitTool::name,
                 {.name = {NameSpecification::customLong("name", true)}, .help = "Name.",
                  .completion = CompletionKind::custom(echoWords)});
        a.option("plain", &KitTool::plain, {.help = ArgumentHelp("Plain.", "", "text")});
        a.flag("verbose", &KitTool::verbose);
        a.flag("quiet", &KitTool::quiet,
               {.help = ArgumentHelp("Quiet.", "", std::nullopt, ArgumentVisibility::hidden)});
        a.option("token", &KitTool::token,
                 {.help = ArgumentHelp("Token.", "", std::nullopt, ArgumentVisibility::private_),
                  .completion = CompletionKind::list({"never"})});
        a.argument("target", &KitTool::target, {.completion = CompletionKind::custom(echoWords)});
        a.argument("kind", &KitTool::kind, {.completion = CompletionKind::list({"red", "green"})});
        a.argument("rev", &KitTool::rev, {.completion = CompletionKind::shellCommand("echo v1 v2")});
        a.argument("path", &KitTool::path, {.completion = CompletionKind::file({"c"})});
        a.argument("extra", &KitTool::extra);
        a.argument("hiddenWord", &KitTool::hiddenWord,
                   {.help = ArgumentHelp("", "", std::nullopt, ArgumentVisibility::hidden),
                    .completion = CompletionKind::list({"concealed"})});
    }
    std::optional<std::string> mode, config, input, outDir, branch, name, plain, token;
    bool verbose = false, quiet = false;
    std::optional<std::string> target, kind, rev, path, extra, hiddenWord;
};

}  // namespace completiontrees
