// macOS: the process table is read with sysctl.
#include <mach-o/dyld.h>
#include <sys/sysctl.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/Paths.hpp"
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

std::optional<pid_t> parentProcessIdentifier(pid_t pid) {
    struct kinfo_proc info {};
    std::size_t size = sizeof info;
    int name[] = {CTL_KERN, KERN_PROC, KERN_PROC_PID, pid};
    // A process that does not exist yields no error, only nothing.
    if (::sysctl(name, 4, &info, &size, nullptr, 0) != 0 || size == 0) return std::nullopt;
    return info.kp_eproc.e_ppid;
}

std::optional<std::vector<std::string>> argumentsOfProcess(pid_t pid) {
    int argumentMaximum = 0;
    std::size_t size = sizeof argumentMaximum;
    int maximumName[] = {CTL_KERN, KERN_ARGMAX};
    if (::sysctl(maximumName, 2, &argumentMaximum, &size, nullptr, 0) != 0 || argumentMaximum <= 0) return std::nullopt;

    // The argument count, the executable's path and NUL padding, then the
    // arguments, each followed by a NUL, then the environment. The buffer
    // is left uninitialised: only what the system writes is touched.
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(argumentMaximum)]);
    size = static_cast<std::size_t>(argumentMaximum);
    int name[] = {CTL_KERN, KERN_PROCARGS2, pid};
    if (::sysctl(name, 3, buffer.get(), &size, nullptr, 0) != 0) return std::nullopt;
    std::string_view area(buffer.get(), size);
    int count = 0;
    if (area.size() < sizeof count) return std::nullopt;
    std::memcpy(&count, area.data(), sizeof count);
    auto start = area.find('\0', sizeof count);
    if (start == std::string_view::npos) return std::nullopt;
    start = area.find_first_not_of('\0', start);

    std::vector<std::string> arguments;
    while (static_cast<int>(arguments.size()) < count && start < area.size()) {
        auto end = area.find('\0', start);
        if (end == std::string_view::npos) end = area.size();
        arguments.emplace_back(area.substr(start, end - start));
        start = end + 1;
    }
    if (arguments.empty()) return std::nullopt;
    return arguments;
}

}  // namespace platform
