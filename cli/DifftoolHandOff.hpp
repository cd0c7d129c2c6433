#pragma once
// Handing one difftool run to the application: the run's files join their
// session, and the launcher opens the session directory.

#include "ArgumentParser/Errors.hpp"
#include "shared/DifftoolOptions.hpp"

namespace varn {

/// Clears the quarantine from the options' repository, records the run in
/// its session, starts the launcher with the application-selection
/// arguments and the session directory, and ends (as `ap::ExitCode`) with
/// the launcher's termination status. Write and launch failures are
/// returned.
ap::Result<void> difftoolHandOff(const VarnShared::DifftoolOptions& options);

}  // namespace varn
