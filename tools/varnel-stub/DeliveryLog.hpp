#pragma once
// The record of what the stand-in application was handed, for the demo and
// the tests: one line per delivery appended to the file named by
// VARNEL_STUB_LOG, when that is set and not empty.
//
// Line format, three fields separated by a tab:
//   KIND \t TARGET \t DETAIL \n
// KIND is the delivery's kind ("merge", ...; "unknown" for a target no kind
// accepts), TARGET the argument as delivered, DETAIL what the stub did, its
// form chosen by the kind (for a merge "ACTION -> STATUS", see
// MergeDelivery.hpp). A backslash, tab or newline inside a field is written
// as "\\", "\t" or "\n", so a line is always one delivery.

#include <string>
#include <string_view>

namespace varnelstub {

/// The line for one delivery, newline included.
std::string logLine(std::string_view kind, std::string_view target, std::string_view detail);

/// Appends the line to VARNEL_STUB_LOG in one write, so deliveries running
/// side by side never mix their lines. Failing to log, or a log that is not
/// a regular file, is said on standard error but is not the delivery's
/// failure.
void appendToLog(std::string_view kind, std::string_view target, std::string_view detail);

}  // namespace varnelstub
