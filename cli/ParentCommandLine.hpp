#pragma once
// The command line of the git process that runs the diff tool, read from
// the process table, since git does not pass the revisions to the tool.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varn {

/// The shell command that prints the command line of `pid` on one line,
/// with file patterns left alone: set -f; echo `ps -p PID -o command=`.
std::string commandLineQuery(pid_t pid);

/// `text` split at every newline character (line feed, vertical tab, form
/// feed, carriage return, U+0085, U+2028, U+2029), empty pieces kept.
std::vector<std::string> splitLines(std::string_view text);

/// The command line of `pid` as `ps` reports it, arguments joined by single
/// spaces, never cut to a screen width; nothing when the shell cannot start
/// or prints nothing. Logs the lines read (verbose).
std::optional<std::string> parentCommandLine(pid_t pid);

}  // namespace varn
