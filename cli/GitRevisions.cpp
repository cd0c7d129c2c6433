#include "cli/GitRevisions.hpp"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/QuotedList.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/FileSystem.hpp"

namespace varn {

namespace {

/// git difftool's options whose value is the next word.
constexpr std::array<std::string_view, 6> optionsWithSeparateValue = {"rotate-to", "skip-to", "t",
                                                                      "tool",      "x",       "extcmd"};

/// `word` names something that exists (a dangling link too), relative to
/// `directory` unless it is absolute.
bool namesAFile(const std::string& word, const std::string& directory) {
    std::string path = word.starts_with("/") ? word : directory + "/" + word;
    return platform::fileExists(path) || platform::isSymbolicLink(path);
}

/// The sides of "A..B" or "A...B", an empty side standing for HEAD. git
/// compares A...B from the merge base of A and B, which only git can find;
/// A and B name the comparison as the user wrote it.
std::optional<std::pair<std::string, std::string>> rangeSides(const std::string& word) {
    auto dots = word.find("..");
    if (dots == std::string::npos) return std::nullopt;
    std::size_t length = word.compare(dots, 3, "...") == 0 ? 3 : 2;
    auto side = [](std::string text) {
        if (text.empty()) text = "HEAD";
        return text;
    };
    return std::pair{side(word.substr(0, dots)), side(word.substr(dots + length))};
}

}  // namespace

GitRevisions parseGitRevisions(std::span<const std::string> arguments, const std::string& startDirectory) {
    std::vector<std::string> words(arguments.begin(), std::find(arguments.begin(), arguments.end(), "--"));
    if (verboseLoggingEnabled()) logVerbose("trimmed: " + quotedList(words));

    std::vector<std::string> revisions;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (word.starts_with("-")) {
            word.remove_prefix(word.starts_with("--") ? 2 : 1);
            if (std::find(optionsWithSeparateValue.begin(), optionsWithSeparateValue.end(), word) !=
                optionsWithSeparateValue.end())
                ++i;
            continue;
        }
        // git refuses a word that names both a revision and a file, so in
        // a run that went ahead such a word is a path, and so is the rest.
        if (namesAFile(words[i], startDirectory)) break;
        revisions.push_back(words[i]);
    }
    if (verboseLoggingEnabled()) logVerbose("trimmed: " + quotedList(revisions));

    GitRevisions found;
    if (revisions.empty()) return found;
    if (auto sides = rangeSides(revisions[0])) {
        found.revspecA = std::move(sides->first);
        found.revspecB = std::move(sides->second);
    } else {
        found.revspecA = revisions[0];
        if (revisions.size() > 1) found.revspecB = revisions[1];
    }
    return found;
}

}  // namespace varn
