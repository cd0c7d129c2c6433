#pragma once
// The verbose log: one line on standard output per call while
// VARNEL_VERBOSE is set and not empty.

#include <string_view>

namespace varn {

/// VARNEL_VERBOSE, read afresh on every call, is set and not empty.
bool verboseLoggingEnabled();

/// Writes `line` and a newline when verbose logging is on.
void logVerbose(std::string_view line);

}  // namespace varn
