#include "platform/Process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

#include "platform/Pipe.hpp"
#include "platform/StandardOutput.hpp"

// Declared by no header on macOS.
extern char** environ;  // NOLINT(readability-redundant-declaration)

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

/// The spawn attributes and file actions, released however the start ends.
class SpawnSetup {
public:
    SpawnSetup() {
        attributesReady_ = ::posix_spawnattr_init(&attributes_) == 0;
        actionsReady_ = ::posix_spawn_file_actions_init(&actions_) == 0;
    }
    ~SpawnSetup() {
        if (attributesReady_) ::posix_spawnattr_destroy(&attributes_);
        if (actionsReady_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool ready() const { return attributesReady_ && actionsReady_; }
    posix_spawnattr_t* attributes() { return &attributes_; }
    posix_spawn_file_actions_t* actions() { return &actions_; }

private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
    bool attributesReady_ = false;
    bool actionsReady_ = false;
};

int configure(SpawnSetup& setup, const ProcessOptions& options, Pipe& output, Pipe& error) {
    // A program expects SIGPIPE's default action, whatever this process chose
    // for itself (the tool ignores it to report a closed output as an error).
    short flags = POSIX_SPAWN_SETSIGDEF;
    sigset_t defaults;
    ::sigemptyset(&defaults);
    ::sigaddset(&defaults, SIGPIPE);
    if (int e = ::posix_spawnattr_setsigdefault(setup.attributes(), &defaults)) return e;
    if (options.newSession) {
#ifdef POSIX_SPAWN_SETSID
        flags |= POSIX_SPAWN_SETSID;
#else
        // Without sessions in posix_spawn, a process group of its own is the
        // nearest detachment available.
        flags |= POSIX_SPAWN_SETPGROUP;
        if (int e = ::posix_spawnattr_setpgroup(setup.attributes(), 0)) return e;
#endif
    }
    if (int e = ::posix_spawnattr_setflags(setup.attributes(), flags)) return e;
    auto* actions = setup.actions();
    if (options.nullInput)
        if (int e = ::posix_spawn_file_actions_addopen(actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0)) return e;
    // Only the child's duplicate on 1 or 2 of a pipe's end survives the exec.
    if (options.captureOutput) {
        if (int e = output.open()) return e;
        if (int e = ::posix_spawn_file_actions_adddup2(actions, output.write.get(), STDOUT_FILENO)) return e;
    }
    if (options.captureError) {
        if (int e = error.open()) return e;
        if (int e = ::posix_spawn_file_actions_adddup2(actions, error.write.get(), STDERR_FILENO)) return e;
    }
    if (options.workingDirectory) {
        // The build tells whether the C library can change the child's
        // directory (glibc from 2.29, macOS from 10.15).
#ifdef VARN_HAVE_POSIX_SPAWN_ADDCHDIR
        if (int e = ::posix_spawn_file_actions_addchdir_np(actions, options.workingDirectory->c_str())) return e;
#else
        return ENOSYS;
#endif
    }
    return 0;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> list;
    list.reserve(texts.size() + 1);
    for (auto& text : texts) list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

Error timedOut(const std::string& executable, std::chrono::milliseconds limit) {
    return Error::posix(ETIMEDOUT, executable + " did not finish within " + std::to_string(limit.count()) + " ms",
                        executable);
}

}  // namespace

Result<Process> Process::launch(const std::string& executable, const std::vector<std::string>& arguments,
                                const ProcessOptions& options) {
    auto failure = [&](int errnum) { return Error::posix(errnum, "Cannot launch " + executable, executable); };
    // A relative name would be looked up in the current directory, which
    // may be anybody's: what is started is always named in full.
    if (executable.empty() || executable.front() != '/')
        return Error{"NSPOSIXErrorDomain", EINVAL, "Cannot launch " + executable + ": it is not an absolute path",
                     executable};
    SpawnSetup setup;
    if (!setup.ready()) return failure(ENOMEM);
    Pipe output, error;
    if (int e = configure(setup, options, output, error)) return failure(e);

    std::vector<std::string> argumentTexts{executable};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    auto argv = pointers(argumentTexts);
    std::vector<std::string> environmentTexts = options.environment.value_or(std::vector<std::string>{});
    auto envp = pointers(environmentTexts);

    // What the parent wrote so far must reach the shared stream before
    // anything the child writes. A failure is kept for the end of the run:
    // it does not stop the start.
    (void)flushStandardOutput();

    pid_t pid = -1;
    int e = ::posix_spawn(&pid, executable.c_str(), setup.actions(), setup.attributes(), argv.data(),
                          options.environment ? envp.data() : environ);
    if (e != 0) return failure(e);
    return Process(executable, pid, std::move(output.read), std::move(error.read));
}

Process::Process(std::string executable, pid_t pid, FileDescriptor output, FileDescriptor error)
    : executable_(std::move(executable)), pid_(pid), output_(std::move(output)), error_(std::move(error)) {}

Process::Process(Process&& other) noexcept
    : executable_(std::move(other.executable_)),
      pid_(std::exchange(other.pid_, -1)),
      output_(std::move(other.output_)),
      error_(std::move(other.error_)),
      exited_(other.exited_),
      status_(other.status_),
      reason_(other.reason_) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        executable_ = std::move(other.executable_);
        pid_ = std::exchange(other.pid_, -1);
        output_ = std::move(other.output_);
        error_ = std::move(other.error_);
        exited_ = other.exited_;
        status_ = other.status_;
        reason_ = other.reason_;
    }
    return *this;
}

void Process::record(int waitStatus) {
    exited_ = true;
    if (WIFSIGNALED(waitStatus)) {
        reason_ = TerminationReason::uncaughtSignal;
        status_ = WTERMSIG(waitStatus);
    } else {
        reason_ = TerminationReason::exit;
        status_ = WEXITSTATUS(waitStatus);
    }
}

Result<CapturedOutput> Process::readToEnd(std::optional<std::chrono::milliseconds> limit) {
    CapturedOutput captured;
    auto deadline = Clock::now() + limit.value_or(std::chrono::milliseconds(0));
    struct Stream {
        FileDescriptor* descriptor;
        std::string* text;
    };
    Stream streams[] = {{&output_, &captured.standardOutput}, {&error_, &captured.standardError}};
    char buffer[65536];
    while (output_ || error_) {
        pollfd watched[2];
        Stream* owners[2];
        nfds_t count = 0;
        for (auto& stream : streams) {
            if (!*stream.descriptor) continue;
            watched[count] = {stream.descriptor->get(), POLLIN, 0};
            owners[count++] = &stream;
        }
        int timeout = -1;
        if (limit) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return timedOut(executable_, *limit);
            timeout = static_cast<int>(left);
        }
        int ready = ::poll(watched, count, timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Error::posix(errno, "Cannot read the output of " + executable_, executable_);
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (watched[i].revents == 0) continue;
            auto n = ::read(watched[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                owners[i]->text->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                (void)owners[i]->descriptor->close();
            }
        }
    }
    return captured;
}

Result<int> Process::waitUntilExit() {
    while (!exited_) {
        int waitStatus = 0;
        if (::waitpid(pid_, &waitStatus, 0) == pid_) {
            record(waitStatus);
        } else if (errno != EINTR) {
            return Error::posix(errno, "Cannot wait for " + executable_, executable_);
        }
    }
    return status_;
}

Result<std::optional<int>> Process::waitUntilExit(std::chrono::milliseconds limit) {
    auto deadline = Clock::now() + limit;
    auto pause = std::chrono::milliseconds(1);
    while (true) {
        auto ended = reapIfExited();
        if (!ended) return std::move(ended).error();
        if (*ended) return std::optional<int>(status_);
        if (Clock::now() >= deadline) return std::optional<int>();
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

Result<bool> Process::reapIfExited() {
    while (!exited_) {
        int waitStatus = 0;
        auto found = ::waitpid(pid_, &waitStatus, WNOHANG);
        if (found == pid_) {
            record(waitStatus);
        } else if (found == 0) {
            return false;
        } else if (errno != EINTR) {
            return Error::posix(errno, "Cannot wait for " + executable_, executable_);
        }
    }
    return true;
}

Result<void> Process::sendSignal(int signal) {
    if (exited_ || pid_ <= 0) return {};
    if (::kill(pid_, signal) != 0) return Error::posix(errno, "Cannot signal " + executable_, executable_);
    return {};
}

Result<ProcessOutput> runCollectingOutput(const std::string& executable, const std::vector<std::string>& arguments,
                                          ProcessOptions options, std::optional<std::chrono::milliseconds> limit) {
    options.captureOutput = true;
    auto started = Clock::now();
    auto process = Process::launch(executable, arguments, options);
    if (!process) return std::move(process).error();
    auto giveUp = [&](Error error) -> Error {
        (void)process->sendSignal(SIGKILL);
        (void)process->waitUntilExit();
        return error;
    };
    auto captured = process->readToEnd(limit);
    if (!captured) return giveUp(std::move(captured).error());
    if (limit) {
        auto left = *limit - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        auto status = process->waitUntilExit(std::max(left, std::chrono::milliseconds(0)));
        if (!status) return std::move(status).error();
        if (!*status) return giveUp(timedOut(executable, *limit));
    } else if (auto status = process->waitUntilExit(); !status) {
        return std::move(status).error();
    }
    return ProcessOutput{std::move(captured->standardOutput), std::move(captured->standardError),
                         process->terminationStatus(), process->terminationReason()};
}

}  // namespace platform
