// The launcher where the platform has none: the stand-in varnel-open,
// installed beside varn or in the libexec directory next to its own.

#include <unistd.h>

#include "cli/RunOpen.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"

namespace varn {

std::string openLauncherPath() {
    constexpr const char* launcher = "varnel-open";
    auto executable = platform::executablePath();
    if (!executable) return launcher;  // fails to start, naming the program
    auto directory = platform::deletingLastPathComponent(*executable);
    auto beside = platform::appendingPathComponent(directory, launcher);
    if (::access(beside.c_str(), X_OK) == 0) return beside;
    auto installed = platform::appendingPathComponent(
        platform::appendingPathComponent(platform::deletingLastPathComponent(directory), "libexec"), launcher);
    if (::access(installed.c_str(), X_OK) == 0) return installed;
    return beside;
}

}  // namespace varn
