// The process table read from /proc (VARN_PROCESS_TABLE=procfs, the default
// on Linux).
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "platform/FileSystem.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/Strings.hpp"

namespace platform {
namespace {

/// The file `name` of process `pid` in /proc; nothing when the process is
/// gone, or is another user's that the system does not let us examine.
Result<std::optional<std::string>> readProcessFile(pid_t pid, const char* name) {
    std::string directory = "/proc/" + std::to_string(pid);
    auto text = readFile(directory + "/" + name);
    if (text) return std::optional<std::string>(std::move(*text));
    int err = text.error().code;
    if (err == ENOENT || err == ESRCH) return std::optional<std::string>();
    // Refused: fine for another user's process (our git is our own), a
    // failure for one of ours.
    struct stat s;
    if ((err == EACCES || err == EPERM) && ::stat(directory.c_str(), &s) == 0 && s.st_uid != ::geteuid())
        return std::optional<std::string>();
    return std::move(text).error();
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

Result<std::optional<pid_t>> parentProcessIdentifier(pid_t pid) {
    auto stat = readProcessFile(pid, "stat");
    if (!stat) return std::move(stat).error();
    if (!*stat) return std::optional<pid_t>();
    // "PID (NAME) STATE PPID …": the name may hold blanks and parentheses,
    // so the fields are counted from the last ")".
    auto close = (*stat)->rfind(')');
    char state = 0;
    int parent = 0;
    if (close == std::string::npos || std::sscanf((*stat)->c_str() + close + 1, " %c %d", &state, &parent) != 2)
        return Error::posix(EIO, "Cannot read the parent of process " + std::to_string(pid));
    return std::optional<pid_t>(parent);
}

Result<std::optional<std::vector<std::string>>> argumentsOfProcess(pid_t pid) {
    // Each argument followed by a NUL.
    auto line = readProcessFile(pid, "cmdline");
    if (!line) return std::move(line).error();
    if (!*line || (*line)->empty()) return std::optional<std::vector<std::string>>();
    if ((*line)->back() == '\0') (*line)->pop_back();
    std::vector<std::string> arguments;
    for (auto argument : split(**line, '\0')) arguments.emplace_back(argument);
    return std::optional(std::move(arguments));
}

}  // namespace platform
