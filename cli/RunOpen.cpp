#include "cli/RunOpen.hpp"

#include <unistd.h>

#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"

namespace varn {

std::string openLauncherPath() {
#ifdef __APPLE__
    return "/usr/bin/open";
#else
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
#endif
}

platform::Result<platform::Process> runOpen(const std::vector<std::string>& arguments) {
    return platform::Process::launch(openLauncherPath(), arguments);
}

}  // namespace varn
