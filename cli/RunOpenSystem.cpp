// The system's own launcher (VARN_LAUNCHER=system, the default on macOS).

#include "cli/RunOpen.hpp"

namespace varn {

platform::Result<std::string> openLauncherPath() { return std::string("/usr/bin/open"); }

}  // namespace varn
