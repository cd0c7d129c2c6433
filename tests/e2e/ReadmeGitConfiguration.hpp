#pragma once
// The git configuration README.md gives users, taken from README.md itself:
// its "git config --global NAME VALUE" lines, quotes undone as the shell
// does, applied to a test's own repository. A mistake in those lines then
// fails the tests that run git with them.

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ShellWords.hpp"
#include "tests/e2e/Programs.hpp"
#include "tests/support/ShellDriver.hpp"

namespace e2e {

/// One "git config" command line (without "git") per such line, in order,
/// for the repository at hand rather than for the user.
inline std::vector<std::vector<std::string>> readmeGitConfiguration() {
    std::vector<std::vector<std::string>> commands;
    for (const auto& line : shelldriver::lines(testsupport::readFile(VARN_SOURCE_DIR "/README.md"))) {
        auto words = platform::splitShellWords(line);
        if (!words || words->size() < 3 || (*words)[0] != "git" || (*words)[1] != "config" ||
            (*words)[2] != "--global")
            continue;
        words->erase(words->begin(), words->begin() + 3);
        words->insert(words->begin(), "config");
        commands.push_back(std::move(*words));
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
