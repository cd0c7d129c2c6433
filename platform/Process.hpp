#pragma once
// Child processes: start one with posix_spawn, read what it writes, wait
// for it and learn how it ended. Standard output is flushed before every
// start, so the parent's earlier lines come before the child's.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"

namespace platform {

struct ProcessOptions {
    /// The child's standard output goes to a pipe the parent reads.
    bool captureOutput = false;
    /// The child's standard error goes to a pipe the parent reads.
    bool captureError = false;
    /// The child's standard input reads from /dev/null.
    bool nullInput = false;
    /// The child leads a session of its own, detached from the terminal.
    bool newSession = false;
    /// The directory the child starts in; the parent's when absent.
    std::optional<std::string> workingDirectory;
    /// The child's whole environment, "NAME=value" texts; the parent's when absent.
    std::optional<std::vector<std::string>> environment;
};

enum class TerminationReason { exit, uncaughtSignal };

/// What a child wrote to its captured streams.
struct CapturedOutput {
    std::string standardOutput;
    std::string standardError;
};

/// A started child. Dropping it closes the parent's pipe ends but neither
/// waits for the child nor stops it.
class Process {
public:
    /// Starts `executable` (an absolute path; no search, and a relative one
    /// is refused) with `arguments`, which do not include the program name. A failure to start is an error of the
    /// POSIX domain naming the program.
    static Result<Process> launch(const std::string& executable, const std::vector<std::string>& arguments,
                                  const ProcessOptions& options = {});

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() = default;

    pid_t processIdentifier() const { return pid_; }
    const std::string& executable() const { return executable_; }

    /// Reads the captured streams until the child (and whatever inherited
    /// them) closes them. With a limit, gives up once it passes, with an
    /// error of code ETIMEDOUT.
    Result<CapturedOutput> readToEnd(std::optional<std::chrono::milliseconds> limit = std::nullopt);

    /// Blocks until the child ends; its termination status.
    Result<int> waitUntilExit();
    /// Waits at most `limit`; the termination status, or nothing when the
    /// child is still running.
    Result<std::optional<int>> waitUntilExit(std::chrono::milliseconds limit);

    /// Without waiting: reaps the child if it has ended; true once it has.
    Result<bool> reapIfExited();

    bool hasExited() const { return exited_; }
    /// The exit status, or for a child killed by a signal the signal's
    /// number. Meaningful once the child has exited.
    int terminationStatus() const { return status_; }
    TerminationReason terminationReason() const { return reason_; }

    /// Sends `signal` to the child, if it has not been waited for yet.
    Result<void> sendSignal(int signal);

private:
    Process(std::string executable, pid_t pid, FileDescriptor output, FileDescriptor error);
    void record(int waitStatus);

    std::string executable_;
    pid_t pid_ = -1;
    FileDescriptor output_;
    FileDescriptor error_;
    bool exited_ = false;
    int status_ = 0;
    TerminationReason reason_ = TerminationReason::exit;
};

/// The outcome of a child run to its end.
struct ProcessOutput {
    std::string standardOutput;
    std::string standardError;
    int terminationStatus = 0;
    TerminationReason terminationReason = TerminationReason::exit;
};

/// Starts `executable`, collects its standard output (and its standard
/// error, when the options capture it) to the end and waits for it. With a
/// limit, a child still running when it passes is killed and the run
/// fails with code ETIMEDOUT.
Result<ProcessOutput> runCollectingOutput(const std::string& executable, const std::vector<std::string>& arguments,
                                          ProcessOptions options = {},
                                          std::optional<std::chrono::milliseconds> limit = std::nullopt);

}  // namespace platform
