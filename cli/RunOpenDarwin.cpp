// The launcher on macOS: the system's own.

#include "cli/RunOpen.hpp"

namespace varn {

platform::Result<std::string> openLauncherPath() { return std::string("/usr/bin/open"); }

}  // namespace varn
