#pragma once
// The git configuration README.md gives users, taken from README.md itself:
// its "git config --global NAME VALUE" lines, quotes undone as the shell
// does, applied to a test's own repository. A mistake in those lines then
// fails the tests that run git with them.

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/Programs.hpp"
#include "tests/support/ShellDriver.hpp"

namespace e2e {

/// One "git config" command line (without "git") per such line, in order,
/// for the repository at hand rather than for the user.
inline std::vector<std::vector<std::string>> readmeGitConfiguration() {
    constexpr std::string_view prefix = "git config --global ";
    std::vector<std::vector<std::string>> commands;
    for (auto line : shelldriver::lines(testsupport::readFile(VARN_SOURCE_DIR "/README.md"))) {
        line.erase(0, line.find_first_not_of(' '));
        if (!line.starts_with(prefix)) continue;
        // The shell splits the words, as for a user pasting the line.
        auto words = platform::runCollectingOutput("/bin/sh", {"-c", "printf '%s\\0' " + line.substr(prefix.size())});
        if (!words || words->terminationStatus != 0) continue;
        std::vector<std::string> command{"config"};
        for (std::size_t start = 0, end; (end = words->standardOutput.find('\0', start)) != std::string::npos;
             start = end + 1)
            command.push_back(words->standardOutput.substr(start, end - start));
        commands.push_back(std::move(command));
    }
    return commands;
}

/// The README's commands name the tool as "varn": the built one is found
/// first on this PATH.
inline std::pair<const std::string, std::optional<std::string>> pathWithVarn() {
    const char* path = std::getenv("PATH");
    return {"PATH", binaryDirectory + ":" + (path ? path : "/usr/bin:/bin")};
}

}  // namespace e2e
