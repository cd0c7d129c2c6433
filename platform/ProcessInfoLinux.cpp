// Linux: the process table is read from /proc.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "platform/ProcessInfo.hpp"

namespace platform {

namespace {

/// The whole of a file of /proc; nothing when it cannot be read. Their
/// sizes are not known in advance (stat reports 0).
std::optional<std::string> readProcFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string content;
    char buffer[4096];
    while (true) {
        auto n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            if (n < 0) return std::nullopt;
            return content;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

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
    auto stat = readProcFile("/proc/" + std::to_string(pid) + "/stat");
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
    auto line = readProcFile("/proc/" + std::to_string(pid) + "/cmdline");
    if (!line || line->empty()) return std::nullopt;
    if (line->back() == '\0') line->pop_back();
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (true) {
        auto end = line->find('\0', start);
        arguments.emplace_back(*line, start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos) return arguments;
        start = end + 1;
    }
}

}  // namespace platform
