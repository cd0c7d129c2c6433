#pragma once
// Starting the platform launcher that hands a directory or link to the
// application.

#include <string>
#include <vector>

#include "platform/Process.hpp"

namespace varn {

/// `/usr/bin/open` on macOS. Elsewhere the stand-in `varnel-open` beside
/// the running executable, else in `../libexec/` next to it.
std::string openLauncherPath();

/// Starts the launcher with `arguments`; waiting for it is the caller's.
platform::Result<platform::Process> runOpen(const std::vector<std::string>& arguments);

}  // namespace varn
