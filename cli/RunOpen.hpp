#pragma once
// Starting the platform launcher that hands a directory or link to the
// application: the system's (RunOpenSystem.cpp) or the stand-in
// (RunOpenStandIn.cpp), as cmake/PlatformMechanisms.cmake chooses.

#include <string>
#include <vector>

#include "ArgumentParser/Errors.hpp"
#include "platform/Process.hpp"

namespace varn {

/// `/usr/bin/open` on macOS. Elsewhere the stand-in `varnel-open` beside
/// the running executable (a build tree), else in the directory the
/// installation gives it (`../libexec/varn/` from varn's by default); an
/// error when the executable's own path cannot be learnt.
platform::Result<std::string> openLauncherPath();

/// Starts the launcher with `arguments`; waiting for it is the caller's.
platform::Result<platform::Process> runOpen(const std::vector<std::string>& arguments);

/// Starts the launcher with `arguments`, waits for it and ends the run
/// (as `ap::ExitCode`) with its termination status. Launch and wait
/// failures are returned.
ap::Result<void> runOpenAndWait(const std::vector<std::string>& arguments);

}  // namespace varn
