#pragma once
// The verbose log: one line on standard output per call while
// VARNEL_VERBOSE is set and not empty.

#include "platform/StandardOutput.hpp"

namespace varn {

/// VARNEL_VERBOSE, read afresh on every call, is set and not empty.
bool verboseLoggingEnabled();

/// Writes the items in their plain textual form, separated by one space,
/// followed by a newline, when verbose logging is on.
template <class... Items>
void logVerbose(const Items&... items) {
    if (!verboseLoggingEnabled()) return;
    auto& out = platform::standardOutput();
    const char* separator = "";
    ((out << separator << items, separator = " "), ...);
    out << '\n';
}

}  // namespace varn
