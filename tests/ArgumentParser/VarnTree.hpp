#pragma once
// The varn command tree declared as the tool declares it (of the two hidden
// subcommands for git, which are declared alike, only one), so the framework
// can be tested against it without the tool.

#include <optional>
#include <string>
#include <vector>

#include "ArgumentParser/Declarations.hpp"

namespace varntree {

using namespace ap;

struct DefaultCommand : ParsableCommand {
    static constexpr std::string_view typeName = "DefaultCommand";
    static CommandConfiguration configuration() {
        return {.commandName = "open", .abstract = "Open a repository in Varnel"};
    }
    static void arguments(Arguments<DefaultCommand>& a) {
        a.argument("repo", &DefaultCommand::repo,
                   {.help = "The path of the repository to open.", .completion = CompletionKind::directory()});
    }
    std::optional<std::string> repo;
    Result<void> run() override { return {}; }
};

struct Merge : ParsableCommand {
    static constexpr std::string_view typeName = "Merge";
    static CommandConfiguration configuration() {
        return {.abstract = "Open conflicted file in Varnel's merge tool."};
    }
    static void arguments(Arguments<Merge>& a) {
        a.argument("file", &Merge::file, {.help = "The conflicted files to open.", .completion = CompletionKind::file()});
    }
    std::string file;
    Result<void> run() override { return {}; }
};

inline const char* const revisionCompletion = "git branch -l; git branch -lr; git tag -l";

struct Diff : ParsableCommand {
    static constexpr std::string_view typeName = "Diff";
    static CommandConfiguration configuration() {
        return {.commandName = "diff", .abstract = "Compare files between 2 revisions."};
    }
    static void arguments(Arguments<Diff>& a) {
        a.option("repo", &Diff::repo,
                 {.name = NameSpecification::shortAndLong(), .help = "The path to the repository.",
                  .completion = CompletionKind::directory()});
        a.argument("revspecA", &Diff::revspecA,
                   {.help = "First commit to compare. (Branch name, tag, SHA, etc\u2026)",
                    .completion = CompletionKind::shellCommand(revisionCompletion)});
        a.argument("revspecB", &Diff::revspecB,
                   {.help = "Second commit to compare. If omitted, commit-a will be compared to the working directory.",
                    .completion = CompletionKind::shellCommand(revisionCompletion)});
        a.argument("paths", &Diff::paths,
                   {.help = "Files to compare. Relative to the root of the repository's work tree.",
                    .completion = CompletionKind::file(), .defaulted = true});
    }
    std::optional<std::string> repo;
    std::string revspecA;
    std::optional<std::string> revspecB;
    std::vector<std::string> paths;
    Result<void> run() override { return {}; }
};

struct Mergetool : ParsableCommand {
    static constexpr std::string_view typeName = "Mergetool";
    static CommandConfiguration configuration() {
        return {.commandName = "_mergetool",
                .abstract = "Used by 'git mergetool'. You probably want 'varn merge \u2026' instead.",
                .shouldDisplay = false};
    }
    static void arguments(Arguments<Mergetool>& a) {
        const OptionDeclaration file{.parsing = SingleValueParsingStrategy::unconditional()};
        a.option("base", &Mergetool::base, file);
        a.option("local", &Mergetool::local, file);
        a.option("remote", &Mergetool::remote, file);
        a.option("merged", &Mergetool::merged, file);
    }
    std::string base, local, remote, merged;
    Result<void> run() override { return {}; }
};

struct TarqCLI : ParsableCommand {
    static constexpr std::string_view typeName = "TarqCLI";
    static CommandConfiguration configuration() {
        return {.commandName = "varn",
                .abstract = "Open a repository or conflicted files in Varnel.",
                .subcommands = {typeOf<DefaultCommand>, typeOf<Merge>, typeOf<Diff>, typeOf<Mergetool>},
                .defaultSubcommand = typeOf<DefaultCommand>};
    }
};

inline const CommandType& root() { return typeOf<TarqCLI>(); }

}  // namespace varntree
