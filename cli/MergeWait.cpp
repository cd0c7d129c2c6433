#include "cli/MergeWait.hpp"

#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <optional>

#include "platform/PollTimeout.hpp"

namespace varn {
namespace {

using VarnShared::MergeToolStatusWatcher;

constexpr const char* domain = "VarnMergeErrorDomain";
constexpr std::chrono::milliseconds launcherGrace{2000};

/// The failure of a launcher that has ended, if it failed.
std::optional<ap::Error> launcherFailure(platform::Process& launcher) {
    auto ended = launcher.reapIfExited();
    if (!ended) return ap::Error(ended.error());
    if (!*ended) return std::nullopt;
    int status = launcher.terminationStatus();
    bool killed = launcher.terminationReason() == platform::TerminationReason::uncaughtSignal;
    if (!killed && status == 0) return std::nullopt;
    std::string how = killed ? "was killed by signal " : "exited with status ";
    return ap::LocalizedError(domain, 1,
                              "Cannot hand the merge over: " + launcher.executable() + " " + how +
                                  std::to_string(status),
                              launcher.executable());
}

}  // namespace

ap::Error awaitVerdict(MergeToolStatusWatcher& watcher, platform::Process& launcher, platform::SignalPipe& signals,
                       MergeToolStatusWatcher::Clock::time_point deadline) {
    auto abandon = [&](ap::Error error) {
        // A launcher still starting reads the hand-off after us: removed
        // under it, the launcher would report it missing after our own
        // error. It passes the request on in moments; a launcher that
        // hangs is not waited for longer.
        (void)launcher.waitUntilExit(launcherGrace);
        watcher.removeDirectory();
        return error;
    };
    while (true) {
        // Looked at first: the verdict may come before the launcher's end
        // is noticed, and it is what the user did.
        auto verdict = watcher.handleEvents();
        if (!verdict) return abandon(std::move(verdict).error());
        if (*verdict) return ap::ExitCode{MergeToolStatusWatcher::exitStatus(**verdict)};
        for (int signal : signals.take()) {
            if (signal != SIGCHLD) return abandon(ap::ExitCode{128 + signal});
            if (auto failed = launcherFailure(launcher)) return abandon(std::move(*failed));
        }
        int timeout = platform::pollTimeoutUntil(deadline);
        if (timeout == 0)
            return abandon(ap::LocalizedError(domain, 1,
                                              "No verdict from the application in time; the merge stays unresolved"));
        struct pollfd waited[] = {{watcher.descriptor(), POLLIN, 0}, {signals.descriptor(), POLLIN, 0}};
        if (::poll(waited, 2, timeout) < 0 && errno != EINTR)
            return abandon(platform::Error::posix(errno, "Cannot wait for the application's verdict"));
    }
}

}  // namespace varn
