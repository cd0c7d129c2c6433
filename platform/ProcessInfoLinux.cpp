// Linux: the process table is read from /proc.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "platform/FileSystem.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/Strings.hpp"

namespace platform {

Result<std::string> executablePath() {
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
}

std::optional<pid_t> parentProcessIdentifier(pid_t pid) {
    // "PID (NAME) STATE PPID …": the name may hold blanks and parentheses,
    // so the fields are counted from the last ")".
    auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return std::nullopt;
    auto close = stat->rfind(')');
    if (close == std::string::npos) return std::nullopt;
    char state = 0;
    int parent = 0;
    if (std::sscanf(stat->c_str() + close + 1, " %c %d", &state, &parent) != 2) return std::nullopt;
    return static_cast<pid_t>(parent);
}

std::optional<std::vector<std::string>> argumentsOfProcess(pid_t pid) {
    // Each argument followed by a NUL.
    auto line = readFile("/proc/" + std::to_string(pid) + "/cmdline");
    if (!line || line->empty()) return std::nullopt;
    if (line->back() == '\0') line->pop_back();
    std::vector<std::string> arguments;
    for (auto argument : split(*line, '\0')) arguments.emplace_back(argument);
    return arguments;
}

}  // namespace platform
