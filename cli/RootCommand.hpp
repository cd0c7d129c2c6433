#pragma once
// The varn command tree: the root command and its subcommands, in the order
// help lists them. "open" runs when no subcommand is named.

#include "ArgumentParser/Declarations.hpp"
#include "cli/DefaultCommand.hpp"
#include "cli/Diff.hpp"
#include "cli/Difftool.hpp"
#include "cli/Merge.hpp"
#include "cli/Mergetool.hpp"

namespace varn {

// The root keeps the product's own name for its type, TarqCLI.
struct TarqCLI : ap::ParsableCommand {
    static constexpr std::string_view typeName = "TarqCLI";
    static ap::CommandConfiguration configuration() {
        return {.commandName = "varn",
                .abstract = "Open a repository or conflicted files in Varnel.",
                .subcommands = {ap::typeOf<DefaultCommand>, ap::typeOf<Merge>, ap::typeOf<Diff>, ap::typeOf<Mergetool>,
                                ap::typeOf<Difftool>},
                .defaultSubcommand = ap::typeOf<DefaultCommand>};
    }
};

}  // namespace varn
