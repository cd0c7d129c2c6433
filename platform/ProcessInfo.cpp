#include "platform/ProcessInfo.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

}  // namespace platform
