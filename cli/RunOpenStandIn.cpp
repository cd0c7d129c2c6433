// The launcher where the platform has none (VARN_LAUNCHER=stand-in, the
// default except on macOS): the stand-in varnel-open, beside varn in a
// build tree, or where the installation put it.

#include <unistd.h>

#include "cli/RunOpen.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"

#ifndef VARN_LAUNCHER_FROM_BINDIR
#error "VARN_LAUNCHER_FROM_BINDIR: the launcher's installed directory, relative to varn's"
#endif

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
    // The executable's path has its links resolved, so ".." leads where it reads.
    auto installed = platform::absolutePath(platform::appendingPathComponent(
        platform::appendingPathComponent(directory, VARN_LAUNCHER_FROM_BINDIR), launcher));
    // One beside varn is taken even when it cannot run, so that the failure
    // names it; else the installed one, started or named in the failure.
    return ::access(beside.c_str(), F_OK) == 0 ? beside : installed;
}

}  // namespace varn
