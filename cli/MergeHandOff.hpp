#pragma once
// The merge hand-off shared by "merge" and "_mergetool": the conflicted file
// goes to the application in a hand-off directory, and the command ends with
// the number the application writes back.

#include <chrono>
#include <string>

#include "ArgumentParser/Errors.hpp"

namespace varn {

/// How long a hand-off waits for the application's verdict: 24 hours.
inline constexpr std::chrono::seconds mergeWaitLimit{86'400};

/// Resolves `file` (as typed) and its repository, writes the record, starts
/// watching the hand-off directory, starts the launcher on it without
/// waiting, and sleeps until the application reports.
///
/// A reported status is returned as `ap::ExitCode` with that number, which
/// ends the process with it modulo 256. When `limit` passes first the
/// hand-off returns successfully. A file outside every repository, a record
/// that cannot be written (then nothing is launched) and a launcher that
/// cannot be started are errors.
ap::Result<void> mergeHandOff(const std::string& file, std::chrono::milliseconds limit = mergeWaitLimit);

}  // namespace varn
