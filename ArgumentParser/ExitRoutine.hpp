#pragma once
// The one place a run ends: it prints what an error or request calls for,
// on the right stream, and exits with the matching status.

#include <optional>

#include "ArgumentParser/Errors.hpp"
#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

/// Ends the process as `error` calls for; without an error, status 0 and no output.
[[noreturn]] void exitWith(const CommandType& root, const std::optional<Error>& error);

/// Parses the process arguments for `root`, runs the chosen command and
/// ends through `exitWith`.
[[noreturn]] void main(const CommandType& root, int argc, char** argv);

}  // namespace ap
