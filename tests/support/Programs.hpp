#pragma once
// Running the built programs as a user or git would: in a chosen directory,
// with a chosen environment, both streams captured and every wait bounded.

#include <signal.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/Process.hpp"

extern char** environ;

namespace testsupport {

inline const std::string binaryDirectory = VARN_BUILD_DIR "/bin";
inline const std::string varnProgram = binaryDirectory + "/varn";
inline const std::string launcherProgram = binaryDirectory + "/varnel-open";
inline const std::string stubProgram = binaryDirectory + "/varnel-stub";

/// Changes to the environment: a value sets the variable, nothing removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

/// Starts `program` in `directory`, both streams captured, standard input
/// empty; leading a session of its own when asked.
inline platform::Process start(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& directory, const EnvironmentChanges& changes = {},
                               bool newSession = false) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry)
        if (std::string text = *entry; !changes.contains(text.substr(0, text.find('=')))) entries.push_back(text);
    for (const auto& [name, value] : changes)
        if (value) entries.push_back(name + "=" + *value);
    auto started = platform::Process::launch(program, arguments,
                                             {.captureOutput = true,
                                              .captureError = true,
                                              .nullInput = true,
                                              .newSession = newSession,
                                              .workingDirectory = directory,
                                              .environment = entries});
    if (!started) throw std::runtime_error(started.error().description);
    return std::move(*started);
}

/// What a started program wrote and its status; killed, with status -1,
/// when it has not ended within `limit`. A child still running when
/// `hopeless` (asked every 10 ms) names a reason that it cannot end well is
/// stopped at once with SIGTERM, the reason added to its standard error: a
/// wait that nothing can end fails now rather than at the limit.
inline platform::ProcessOutput finish(platform::Process& process,
                                      std::chrono::milliseconds limit = std::chrono::seconds(60),
                                      const std::function<std::optional<std::string>()>& hopeless = {}) {
    std::atomic<bool> ended = false;
    std::string reason;
    // Not reaped before the watcher is joined, the child keeps its process
    // identifier for the watcher's signal.
    std::thread watcher;
    if (hopeless)
        watcher = std::thread([&, pid = process.processIdentifier()] {
            for (; !ended; std::this_thread::sleep_for(std::chrono::milliseconds(10)))
                if (auto why = hopeless()) {
                    reason = *why;
                    ::kill(pid, SIGTERM);
                    return;
                }
        });
    auto captured = process.readToEnd(limit);
    ended = true;
    if (watcher.joinable()) watcher.join();
    auto status = process.waitUntilExit(std::chrono::seconds(5));
    if (!captured || !status || !*status) {
        (void)process.sendSignal(SIGKILL);
        (void)process.waitUntilExit();
        return {.standardError = "<did not end in time>", .terminationStatus = -1};
    }
    platform::ProcessOutput output{captured->standardOutput, captured->standardError, **status};
    if (!reason.empty()) output.standardError += "<stopped: " + reason + ">";
    return output;
}

inline platform::ProcessOutput run(const std::string& program, const std::vector<std::string>& arguments,
                                   const std::string& directory, const EnvironmentChanges& changes = {}) {
    auto process = start(program, arguments, directory, changes);
    return finish(process);
}

/// Whether `condition` holds, asked again and again for at most 10 s.
inline bool eventually(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

}  // namespace testsupport
