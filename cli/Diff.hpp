#pragma once
// "diff": compares files between two revisions in the application.

#include <optional>
#include <string>
#include <vector>

#include "ArgumentParser/Declarations.hpp"
#include "cli/HasRepoParam.hpp"

namespace varn {

/// Completes revision arguments with branch and tag names.
inline constexpr const char* revisionCompletion = "git branch -l; git branch -lr; git tag -l";

struct Diff : ap::ParsableCommand {
    static constexpr std::string_view typeName = "Diff";
    static ap::CommandConfiguration configuration() {
        return {.commandName = "diff", .abstract = "Compare files between 2 revisions."};
    }
    static void arguments(ap::Arguments<Diff>& a) {
        a.option("repo", &Diff::repo,
                 {.name = ap::NameSpecification::shortAndLong(),
                  .help = "The path to the repository.",
                  .completion = ap::CompletionKind::directory()});
        a.argument("revspecA", &Diff::revspecA,
                   {.help = "First commit to compare. (Branch name, tag, SHA, etc\u2026)",
                    .completion = ap::CompletionKind::shellCommand(revisionCompletion)});
        a.argument("revspecB", &Diff::revspecB,
                   {.help = "Second commit to compare. If omitted, commit-a will be compared to the working directory.",
                    .completion = ap::CompletionKind::shellCommand(revisionCompletion)});
        a.argument("paths", &Diff::paths,
                   {.help = "Files to compare. Relative to the root of the repository's work tree.",
                    .completion = ap::CompletionKind::file(),
                    .defaulted = true});
    }

    std::optional<std::string> repo;
    std::string revspecA;
    std::optional<std::string> revspecB;
    std::vector<std::string> paths;

    ap::Result<void> run() override;
};

static_assert(HasRepoParam<Diff>);

}  // namespace varn
