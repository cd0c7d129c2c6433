#pragma once
// "open", also run when no subcommand is named: opens a repository in the
// application.

#include <optional>
#include <string>

#include "ArgumentParser/Declarations.hpp"
#include "cli/HasRepoParam.hpp"

namespace varn {

struct DefaultCommand : ap::ParsableCommand {
    static constexpr std::string_view typeName = "DefaultCommand";
    static ap::CommandConfiguration configuration() {
        return {.commandName = "open", .abstract = "Open a repository in Varnel"};
    }
    static void arguments(ap::Arguments<DefaultCommand>& a) {
        a.argument("repo", &DefaultCommand::repo,
                   {.help = "The path of the repository to open.", .completion = ap::CompletionKind::directory()});
    }

    std::optional<std::string> repo;

    /// Hands the repository root to the launcher and ends with its status.
    ap::Result<void> run() override;
};

static_assert(HasRepoParam<DefaultCommand>);

}  // namespace varn
