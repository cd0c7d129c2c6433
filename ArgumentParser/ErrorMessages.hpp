#pragma once
// The texts of parse failures: the message after "Error: " and the line
// after "Help:  ", worded against the arguments of the command concerned.

#include <optional>
#include <string>

#include "ArgumentParser/ArgumentSet.hpp"
#include "ArgumentParser/Errors.hpp"

namespace ap {

/// The message for `error`; empty for the built-in requests.
std::string errorDescription(const ParserError& error, const ArgumentSet& arguments);

/// The description of any error as the user sees it: a validation error's
/// message, a platform error's localized description, a parse failure's
/// message.
std::string errorDescription(const Error& error, const ArgumentSet& arguments);

/// The argument's synopsis and abstract for a missing value, an unparsable
/// value or a missing argument; empty for anything else or when the
/// argument is not among `arguments`.
std::string helpDescription(const ParserError& error, const ArgumentSet& arguments);

/// For a mistyped long name: the closest long name among `arguments`, less
/// than 4 edits away; the earliest wins a tie.
std::optional<Name> suggestedName(const Name& typed, const ArgumentSet& arguments);

/// ". Please provide one of 'a', 'b' or 'c'." and the like; empty without values.
std::string acceptedValuesDetail(const std::vector<std::string>& values);

}  // namespace ap
