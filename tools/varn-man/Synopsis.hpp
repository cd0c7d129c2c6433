#pragma once
// The usage synopsis of a described command, built the way the tool's own
// help builds it: preferred names, value names, "[...]" around optional
// arguments, " ..." after repeating ones, and "<subcommand>" for a command
// with subcommands.

#include <string>
#include <vector>

#include "ArgumentParser/CommandInfoV0.hpp"
#include "tools/varn-man/Roff.hpp"

namespace varnman {

struct SynopsisPart {
    std::string text;
    Font font = Font::roman;
};

struct Synopsis {
    /// The enclosing commands and the command's own name, space-separated.
    std::string commandName;
    /// The words after the name, one per argument, each made of parts in
    /// their fonts; a word is never broken across lines.
    std::vector<std::vector<SynopsisPart>> words;

    /// The synopsis as the help's usage line shows it.
    std::string text() const;
};

/// The full name a command is invoked by: its super-commands and its name.
std::string invocation(const ap::CommandInfoV0& command);

/// The command's arguments without the built-in version and help flags that
/// the description appends to every command.
std::vector<ap::ArgumentInfoV0> declaredArguments(const ap::CommandInfoV0& command);

Synopsis synopsis(const ap::CommandInfoV0& command);

}  // namespace varnman
