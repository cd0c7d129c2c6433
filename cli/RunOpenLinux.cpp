// The launcher where the platform has none: the stand-in varnel-open,
// installed beside varn or in the libexec directory next to its own.

#include <unistd.h>

#include "cli/RunOpen.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"

namespace varn {

platform::Result<std::string> openLauncherPath() {
    constexpr const char* launcher = "varnel-open";
    // Found by an absolute path or not at all: a bare name would be looked
    // up in the current directory, which may be anybody's repository.
    auto executable = platform::executablePath();
    if (!executable)
        return platform::Error{executable.error().domain, executable.error().code,
                               std::string("Cannot find ") + launcher + ": " + executable.error().description,
                               launcher};
    auto directory = platform::deletingLastPathComponent(*executable);
    auto beside = platform::appendingPathComponent(directory, launcher);
    if (::access(beside.c_str(), X_OK) == 0) return beside;
    auto installed = platform::appendingPathComponent(
        platform::appendingPathComponent(platform::deletingLastPathComponent(directory), "libexec"), launcher);
    if (::access(installed.c_str(), X_OK) == 0) return installed;
    return beside;  // fails to start, naming the program where it was looked for
}

}  // namespace varn
