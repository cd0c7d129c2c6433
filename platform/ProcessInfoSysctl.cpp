// The process table read with sysctl, and the executable's path from the
// dynamic loader (VARN_PROCESS_TABLE=sysctl, the default on macOS).
#include <mach-o/dyld.h>
#include <sys/sysctl.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Paths.hpp"
#include "platform/ProcessArgumentArea.hpp"
#include "platform/ProcessInfo.hpp"

namespace platform {

Result<std::string> executablePath() {
    std::uint32_t size = 0;
    ::_NSGetExecutablePath(nullptr, &size);
    std::string path(size, '\0');
    if (::_NSGetExecutablePath(path.data(), &size) != 0)
        return Error::posix(ENAMETOOLONG, "Cannot read the executable's path");
    path.resize(path.find('\0') == std::string::npos ? path.size() : path.find('\0'));
    auto absolute = absolutePath(path);
    if (!absolute) return std::move(absolute).error();
    return resolvingSymlinksInPath(*absolute);
}

Result<std::optional<pid_t>> parentProcessIdentifier(pid_t pid) {
    struct kinfo_proc info {};
    std::size_t size = sizeof info;
    int name[] = {CTL_KERN, KERN_PROC, KERN_PROC_PID, pid};
    if (::sysctl(name, 4, &info, &size, nullptr, 0) != 0)
        return Error::posix(errno, "Cannot read the parent of process " + std::to_string(pid));
    // A process that does not exist yields no error, only nothing.
    if (size == 0) return std::optional<pid_t>();
    return std::optional<pid_t>(info.kp_eproc.e_ppid);
}

Result<std::optional<std::vector<std::string>>> argumentsOfProcess(pid_t pid) {
    using Arguments = std::optional<std::vector<std::string>>;
    auto failure = [&](int err) {
        return Error::posix(err, "Cannot read the arguments of process " + std::to_string(pid));
    };
    int argumentMaximum = 0;
    std::size_t size = sizeof argumentMaximum;
    int maximumName[] = {CTL_KERN, KERN_ARGMAX};
    if (::sysctl(maximumName, 2, &argumentMaximum, &size, nullptr, 0) != 0) return failure(errno);
    if (argumentMaximum <= 0) return failure(EINVAL);

    // The buffer is left uninitialised: only what the system writes is read.
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(argumentMaximum)]);
    size = static_cast<std::size_t>(argumentMaximum);
    int name[] = {CTL_KERN, KERN_PROCARGS2, pid};
    if (::sysctl(name, 3, buffer.get(), &size, nullptr, 0) != 0) {
        // A process that is gone, or is another user's, which the system
        // keeps from us: our git is our own.
        if (errno == EINVAL || errno == ESRCH || errno == EPERM) return Arguments();
        return failure(errno);
    }
    return argumentsInProcessArgumentArea(std::string_view(buffer.get(), size));
}

}  // namespace platform
