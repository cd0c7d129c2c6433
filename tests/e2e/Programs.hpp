#pragma once
// Running the built programs as a user would, with a chosen directory and
// environment, and waiting (boundedly) for what they leave behind.

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Process.hpp"
#include "tests/platform/TemporaryDirectory.hpp"

extern char** environ;

namespace e2e {

inline const std::string binaryDirectory = VARN_BUILD_DIR "/bin";
inline const std::string varnProgram = binaryDirectory + "/varn";
inline const std::string launcherProgram = binaryDirectory + "/varnel-open";

/// Changes to the environment: a value sets the variable, nothing removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

inline std::vector<std::string> environmentWith(const EnvironmentChanges& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        if (!changes.contains(text.substr(0, text.find('=')))) entries.push_back(text);
    }
    for (const auto& [name, value] : changes)
        if (value) entries.push_back(name + "=" + *value);
    return entries;
}

/// Runs `program` to its end (at most 30 s), both streams captured.
inline platform::ProcessOutput run(const std::string& program, const std::vector<std::string>& arguments,
                                   const std::string& directory, const EnvironmentChanges& changes = {}) {
    auto ran = platform::runCollectingOutput(program, arguments,
                                             {.captureError = true, .nullInput = true, .workingDirectory = directory,
                                              .environment = environmentWith(changes)},
                                             std::chrono::seconds(30));
    if (!ran) return {.standardError = "could not run: " + ran.error().description, .terminationStatus = -1};
    return *ran;
}

/// The content of `path` once it exists (at most 10 s), else nothing.
inline std::optional<std::string> awaitFile(const std::string& path) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(path)) return testsupport::readFile(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

/// A program that writes its arguments, one a line, to `record` (atomically,
/// so a reader sees all or nothing) and then runs the shell line `ending`.
inline std::string recordingScript(const std::string& record, const std::string& ending = "exit 0") {
    return "#!/bin/sh\n"
           "exec >/dev/null 2>&1\n"
           "printf '%s\\n' \"$@\" > '" + record + ".part' && mv '" + record + ".part' '" + record + "'\n"
           + ending + "\n";
}

/// A copy of the tool in `install`/bin, with no launcher beside it; its path.
inline std::string copyOfTool(const testsupport::TemporaryDirectory& install) {
    std::filesystem::create_directories(install / "bin");
    std::filesystem::copy_file(varnProgram, install / "bin/varn");
    return install / "bin/varn";
}

/// The changes for a git of the test's own: no system configuration, `home`
/// as HOME, a fixed author and committer.
inline EnvironmentChanges gitEnvironment(const std::string& home, EnvironmentChanges more = {}) {
    for (const char* name : {"GIT_DIR", "GIT_WORK_TREE", "GIT_INDEX_FILE", "GIT_CONFIG_GLOBAL", "VARNEL_VERBOSE"})
        more.emplace(name, std::nullopt);
    for (auto [name, value] : {std::pair<const char*, std::string>{"HOME", home}, {"XDG_CONFIG_HOME", home + "/.config"},
                               {"GIT_CONFIG_NOSYSTEM", "1"}, {"GIT_AUTHOR_NAME", "Ada"},
                               {"GIT_AUTHOR_EMAIL", "ada@example.invalid"}, {"GIT_COMMITTER_NAME", "Ada"},
                               {"GIT_COMMITTER_EMAIL", "ada@example.invalid"}})
        more.emplace(name, value);
    return more;
}

}  // namespace e2e
