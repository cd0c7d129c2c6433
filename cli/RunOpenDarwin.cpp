// The launcher on macOS: the system's own.

#include "cli/RunOpen.hpp"

namespace varn {

std::string openLauncherPath() { return "/usr/bin/open"; }

}  // namespace varn
