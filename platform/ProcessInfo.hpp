#pragma once
// What the process knows about itself: its arguments, its environment, its
// identifiers and where its executable lies.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Error.hpp"

namespace platform {

/// Keeps the process's argument list (program name first); `main` calls it
/// before anything asks for `processArguments`.
void recordProcessArguments(int argc, char** argv);
void recordProcessArguments(std::vector<std::string> arguments);

/// The recorded argument list; empty when none was recorded.
const std::vector<std::string>& processArguments();

/// The value of the environment variable `name`, read now; nothing when it
/// is unset (an empty value is a value).
std::optional<std::string> environmentValue(const std::string& name);

pid_t processIdentifier();
/// The process group of `pid` (0: this process).
Result<pid_t> processGroupIdentifier(pid_t pid = 0);

/// The absolute, link-free path of the running executable.
Result<std::string> executablePath();

}  // namespace platform
