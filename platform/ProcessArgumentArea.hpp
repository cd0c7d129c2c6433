#pragma once
// The argument list of a process in the area the BSD kernels hand out for it
// (sysctl KERN_PROCARGS2): the argument count as an int, the executable's
// path and NUL padding, then the arguments, each followed by a NUL, then the
// environment. Read apart from the sysctl that fills it, so that the layout
// is checked on every system.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The arguments in `area`, program name first; nothing when it holds none
/// (the process is ending) or is cut short before them.
std::optional<std::vector<std::string>> argumentsInProcessArgumentArea(std::string_view area);

}  // namespace platform
