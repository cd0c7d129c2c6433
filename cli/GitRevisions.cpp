#include "cli/GitRevisions.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include "cli/QuotedList.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/ShellWords.hpp"

namespace varn {

namespace {

/// git difftool's options whose value is the next word.
constexpr std::array<std::string_view, 6> optionsWithSeparateValue = {"rotate-to", "skip-to", "t",
                                                                      "tool",      "x",       "extcmd"};

}  // namespace

GitRevisions parseGitRevisions(std::string_view commandLine) {
    auto words = platform::splitShellWords(commandLine).value_or(std::vector<std::string>{});
    auto difftool = std::find(words.begin(), words.end(), "difftool");
    if (difftool == words.end() || words.end() - difftool < 3) return {};

    std::vector<std::string> trimmed(difftool + 1, std::find(difftool + 1, words.end(), "--"));
    logVerbose("trimmed: " + quotedList(trimmed));

    std::size_t next = 0;
    while (next < trimmed.size() && trimmed[next].starts_with("-")) {
        std::string_view name = trimmed[next];
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        ++next;
        bool takesValue = std::find(optionsWithSeparateValue.begin(), optionsWithSeparateValue.end(), name) !=
                          optionsWithSeparateValue.end();
        if (takesValue && next < trimmed.size()) ++next;
    }
    trimmed.erase(trimmed.begin(), trimmed.begin() + static_cast<std::ptrdiff_t>(next));
    logVerbose("trimmed: " + quotedList(trimmed));

    GitRevisions revisions;
    if (trimmed.size() > 0) revisions.revspecA = trimmed[0];
    if (trimmed.size() > 1) revisions.revspecB = trimmed[1];
    return revisions;
}

}  // namespace varn
