#pragma once
// The flags every command answers without declaring them: help, hidden
// help, version and the dump of the command tree.

#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

using CommandStack = std::vector<const CommandType*>;

/// The help names of the innermost command that sets them (else -h and
/// --help), sorted by their written form: --help, -h.
const std::vector<Name>& helpNames(const CommandStack& stack);
/// The long help names with "-hidden" appended: --help-hidden.
const std::vector<Name>& hiddenHelpNames(const CommandStack& stack);
/// The preferred help name: the first that is not short, else the first.
std::optional<Name> preferredHelpName(const CommandStack& stack);

/// Whether some command on the stack declares a version.
bool hasVersion(const CommandStack& stack);
/// The innermost non-empty version, or "Unspecified version".
std::string versionText(const CommandStack& stack);

/// The version flag (when a version is declared) and then the help flag
/// (when there are help names), as help and completions list them.
const std::vector<ArgumentDefinition>& builtinFlagDefinitions(const CommandStack& stack);

inline const Name& dumpHelpName() {
    static const Name name = Name::long_("experimental-dump-help");
    return name;
}

}  // namespace ap
