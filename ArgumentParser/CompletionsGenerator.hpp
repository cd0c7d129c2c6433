#pragma once
// Shell completion scripts for a command tree: the choice of shell, and the
// rules the bash, zsh and fish scripts share.

#include <optional>
#include <string>
#include <string_view>
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
/// As above, with the value of $SHELL given (nothing: the variable is unset).
platform::Expected<CompletionShell, ParserError> resolveCompletionShell(
    const std::optional<std::string>& name, const std::optional<std::string>& shellVariable);

/// The whole completion script for `root` in `shell`.
std::string generateCompletionScript(CompletionShell shell, const CommandType& root);

// What the three scripts share.

/// "_" and the stack's command names joined with "_" (a name equal to the
/// one before it is dropped); dashes become "_" when `replacingDashes`.
std::string completionFunctionName(const CommandStack& stack, bool replacingDashes = true);

/// The subcommands of the stack's last command that are displayed, in
/// declaration order; at the root, when there are any, the help command too.
std::vector<const CommandType*> listedSubcommands(const CommandStack& stack);

/// The last command's own definitions at the default visibility (positional
/// and named), followed by the built-in version and help flags.
std::vector<const ArgumentDefinition*> completionDefinitions(const CommandStack& stack);

/// Every name of the named definitions of `completionDefinitions`, as typed,
/// in declaration order.
std::vector<std::string> completionOptionNames(const CommandStack& stack);

/// The arguments a script passes back to the tool to ask for the custom
/// candidates of `definition`: "---completion <path> -- <identifier>".
std::string customCompletionCall(const CommandStack& stack, const ArgumentDefinition& definition);

}  // namespace ap

namespace ap::completions {

/// N spaces before every non-empty line of `text`.
std::string indented(std::string_view text, std::size_t n);

/// `items` joined with `separator`.
std::string joined(const std::vector<std::string>& items, std::string_view separator);

}  // namespace ap::completions
