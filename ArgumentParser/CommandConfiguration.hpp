#pragma once
// What a command says about itself: its name, texts, subcommands and help
// names.

#include <optional>
#include <string>
#include <vector>

#include "ArgumentParser/NameSpecification.hpp"

namespace ap {

class CommandType;
/// A command type named without building it, so a configuration can list
/// its subcommands (even, by mistake, itself) before any of them exists.
using CommandRef = const CommandType& (*)();

struct CommandConfiguration {
    /// The name typed on the command line; derived from the type name when absent.
    std::optional<std::string> commandName;
    /// Set only on the framework's pseudo-commands.
    std::optional<std::string> superCommandName;
    std::string abstract;
    /// Replaces the generated usage line when present (even when empty).
    std::optional<std::string> usage;
    std::string discussion;
    std::string version;
    /// False hides the command from help listings and completions.
    bool shouldDisplay = true;
    std::vector<CommandRef> subcommands;
    /// Chosen when no subcommand name is given; also listed in `subcommands`.
    CommandRef defaultSubcommand = nullptr;
    /// Names of the help flag here and below; none: -h and --help.
    std::optional<NameSpecification> helpNames;
};

}  // namespace ap
