#pragma once
// What the process knows about itself (its arguments, its environment, its
// identifiers, where its executable lies) and the little it may learn about
// other processes: their parents and their argument lists. What differs by
// system is read from /proc (ProcessInfoProcfs.cpp) or with sysctl
// (ProcessInfoSysctl.cpp), as cmake/PlatformMechanisms.cmake chooses.

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

/// The parent of process `pid`; nothing when the process is gone or is
/// another user's, which the system keeps from us. An error when it is
/// there and cannot be examined.
Result<std::optional<pid_t>> parentProcessIdentifier(pid_t pid);

/// The argument list of process `pid`, program name first, each argument
/// exactly as the process holds it: nothing is split, joined, quoted or
/// expanded. Nothing when the process is gone, is another user's, or holds
/// no arguments (it is ending, or a kernel thread); an error when it is
/// there and its arguments cannot be read.
Result<std::optional<std::vector<std::string>>> argumentsOfProcess(pid_t pid);

}  // namespace platform
