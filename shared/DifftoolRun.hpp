#pragma once
// One difftool run's part of its session: the record is loaded, extended by
// the run's files (or started with them) and written back, all under the
// session's lock, so runs that overlap lose no entry.

#include <string>

#include "platform/Error.hpp"
#include "platform/StandardOutput.hpp"
#include "shared/DifftoolOptions.hpp"

namespace VarnShared {

/// Adds the options' entries to their session, starting the session afresh
/// when it has no record or one that is not in the session's form, and
/// writes the record (printing
/// "Writing to: " and its path with `print`). Returns the session directory to
/// hand to the application. A record that cannot be read is an error. On
/// failure the stored record is unchanged and the run's copies are removed.
platform::Result<std::string> recordDifftoolRun(const DifftoolOptions& options,
                                                platform::LinePrinter print = platform::printLine);

}  // namespace VarnShared
