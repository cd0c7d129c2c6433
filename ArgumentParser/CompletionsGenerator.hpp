#pragma once
// Shell completion scripts for a command tree.

#include <optional>
#include <string>
#include <vector>

#include "ArgumentParser/BuiltinFlags.hpp"
#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

/// The supported shells, in the order messages list them.
enum class CompletionShell { zsh, bash, fish };

/// "zsh", "bash" or "fish".
std::string rawValue(CompletionShell shell);
/// The supported shell names joined with spaces: "zsh bash fish".
std::string supportedShellList();

/// A given name must be exactly one of the shells; without one the last
/// component of $SHELL decides. Fails with `unsupportedShell`.
platform::Expected<CompletionShell, ParserError> resolveCompletionShell(const std::optional<std::string>& name);

/// The whole completion script for `root` in `shell`.
std::string generateCompletionScript(CompletionShell shell, const CommandType& root);

}  // namespace ap
