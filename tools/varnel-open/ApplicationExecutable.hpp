#pragma once
// Which program to start for a launch request.

#include <string>

#include "platform/Error.hpp"
#include "tools/varnel-open/LaunchRequest.hpp"

namespace varnelopen {

/// A directory named "X.app" runs its Contents/MacOS/X; anything else must
/// itself be an executable file.
platform::Result<std::string> executableOfApplication(const std::string& application);

/// Where applications register under a bundle identifier:
/// ${XDG_DATA_HOME:-$HOME/.local/share}/varnel/applications/.
std::string registrationDirectory();

/// The application registered for `bundleIdentifier`, resolved as for -a.
platform::Result<std::string> executableOfBundle(const std::string& bundleIdentifier);

/// `xdg-open`, found in an absolute directory of PATH.
platform::Result<std::string> systemOpener();

/// The program the request names, by -a, by -b, or the system's opener.
platform::Result<std::string> executableFor(const LaunchRequest& request);

}  // namespace varnelopen
