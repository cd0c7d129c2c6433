#include "cli/GitInvocation.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/Strings.hpp"

namespace varn {

namespace {

/// git's options before the command that take the next word as their value.
constexpr std::array<std::string_view, 8> globalOptionsWithSeparateValue = {
    "-C", "-c", "--git-dir", "--work-tree", "--namespace", "--super-prefix", "--config-env", "--shallow-file"};

/// Deep enough for git's helper shells and any wrapper around the tool;
/// the walk ends at the first process with no parent long before.
constexpr int ancestorLimit = 64;

}  // namespace

std::optional<std::size_t> difftoolArguments(const std::vector<std::string>& words) {
    if (words.empty()) return std::nullopt;
    auto program = platform::lastPathComponent(words.front());
    if (program == "git-difftool") return 1;
    if (program != "git") return std::nullopt;
    std::size_t next = 1;
    while (next < words.size() && words[next].starts_with("-")) {
        bool takesValue = std::find(globalOptionsWithSeparateValue.begin(), globalOptionsWithSeparateValue.end(),
                                    words[next]) != globalOptionsWithSeparateValue.end();
        next += takesValue ? 2 : 1;
    }
    if (next < words.size() && words[next] == "difftool") return next + 1;
    return std::nullopt;
}

platform::Result<GitInvocation> findGitInvocation() {
    auto group = platform::processGroupIdentifier();
    if (!group) return std::move(group).error();

    // A process that has ended on the way counts as one without words; one
    // whose words cannot be read ends the run, for the words read instead
    // would file the run into a session of another invocation.
    auto wordsOf = [](pid_t pid) -> platform::Result<std::vector<std::string>> {
        auto words = platform::argumentsOfProcess(pid);
        if (!words) return std::move(words).error();
        return std::move(*words).value_or(std::vector<std::string>{});
    };
    GitInvocation leader{*group, {}, {}};
    bool leaderRead = false;
    std::vector<std::string> linesRead;
    pid_t pid = ::getppid();
    for (int examined = 0; examined < ancestorLimit && pid > 0; ++examined) {
        auto words = wordsOf(pid);
        if (!words) return std::move(words).error();
        linesRead.push_back(platform::joined(*words, " "));
        if (difftoolArguments(*words)) return GitInvocation{pid, std::move(*words), std::move(linesRead)};
        if (pid == *group) {
            leader.words = std::move(*words);
            leaderRead = true;
        }
        auto parent = platform::parentProcessIdentifier(pid);
        if (!parent) return std::move(parent).error();
        if (!*parent) break;
        pid = **parent;
    }
    if (!leaderRead) {
        auto words = wordsOf(*group);
        if (!words) return std::move(words).error();
        leader.words = std::move(*words);
        linesRead.push_back(platform::joined(leader.words, " "));
    }
    leader.linesRead = std::move(linesRead);
    return leader;
}

}  // namespace varn
