#pragma once
// Splitting a command line into words as a POSIX shell splits them: blanks
// separate words, quotes and backslashes are undone. Nothing is executed or
// expanded: "$(...)", backquotes, "$VAR", "~" and patterns stay as written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The words of `line`, or nothing when a quote is left open or the line
/// ends in an escaping backslash.
std::optional<std::vector<std::string>> splitShellWords(std::string_view line);

}  // namespace platform
