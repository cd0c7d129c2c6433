#include "platform/ProcessInfo.hpp"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

#include "platform/Paths.hpp"

namespace platform {

namespace {

std::vector<std::string>& recordedArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}

}  // namespace

void recordProcessArguments(int argc, char** argv) {
    recordProcessArguments(std::vector<std::string>(argv, argv + (argc > 0 ? argc : 0)));
}

void recordProcessArguments(std::vector<std::string> arguments) { recordedArguments() = std::move(arguments); }

const std::vector<std::string>& processArguments() { return recordedArguments(); }

std::optional<std::string> environmentValue(const std::string& name) {
    if (const char* value = std::getenv(name.c_str())) return std::string(value);
    return std::nullopt;
}

pid_t processIdentifier() { return ::getpid(); }

Result<pid_t> processGroupIdentifier(pid_t pid) {
    pid_t group = ::getpgid(pid);
    if (group < 0) return Error::posix(errno, "Cannot read the process group of " + std::to_string(pid));
    return group;
}

Result<std::string> executablePath() {
#ifdef __APPLE__
    std::uint32_t size = 0;
    ::_NSGetExecutablePath(nullptr, &size);
    std::string path(size, '\0');
    if (::_NSGetExecutablePath(path.data(), &size) != 0)
        return Error::posix(ENAMETOOLONG, "Cannot read the executable's path");
    path.resize(path.find('\0') == std::string::npos ? path.size() : path.find('\0'));
    return resolvingSymlinksInPath(absolutePath(path));
#else
    std::string buffer(PATH_MAX, '\0');
    while (true) {
        auto n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return Error::posix(errno, "Cannot read the executable's path", "/proc/self/exe");
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
#endif
}

}  // namespace platform
