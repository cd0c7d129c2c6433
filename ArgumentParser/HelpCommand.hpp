#pragma once
// The built-in "help" subcommand: `tool help sub` shows the help of `sub`.

#include <string>
#include <vector>

#include "ArgumentParser/BuiltinFlags.hpp"
#include "ArgumentParser/Declarations.hpp"

namespace ap {

class CommandTree;

struct HelpCommand : ParsableCommand {
    static constexpr std::string_view typeName = "HelpCommand";
    static CommandConfiguration configuration();
    static void arguments(Arguments<HelpCommand>& a);

    /// The names of the subcommands to describe, outermost first.
    std::vector<std::string> subcommands;
    bool help = false;
    /// The stack the names resolve to, filled by the parser.
    CommandStack commandStack;
    ArgumentVisibility visibility = ArgumentVisibility::default_;

    static HelpCommand forStack(CommandStack stack, ArgumentVisibility visibility);

    /// Resolves `subcommands` from the root, stopping silently at the first
    /// name that matches no child.
    void buildCommandStack(const CommandTree& tree);

    /// Raises the help request for `commandStack`.
    Result<void> run() override;
};

}  // namespace ap
