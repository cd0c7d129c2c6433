#include "cli/GitRevisions.hpp"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/QuotedList.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/FileSystem.hpp"

namespace varn {

namespace {

/// The options of git difftool, and of the git diff it runs, whose value
/// may be the next word, as git 2.39 reads them (each tried on it: git diff
/// reads the revision walk's options too). Names must be exact: git reads
/// no abbreviation of an option it passes on.
///
/// Letters, which may stand in a group ("-yO"): the value is the rest of
/// the group, or the next word when the letter ends it. (The letters whose
/// value is optional, -U, -M, -C, -B and -X, take only the rest of the
/// group, and no value git accepts for them ends in one of these.)
constexpr std::string_view lettersWithValue = "txlOSGI";
/// Whole words: "--name VALUE" (or "--name=VALUE", one word). Long options
/// with an optional value (--relative, --stat, --unified, …) never take the
/// next word and are not listed.
constexpr std::string_view wordsWithValue[] = {
    // git difftool's own
    "--tool", "--extcmd",
    // git diff's
    "--anchored", "--color-moved-ws", "--diff-algorithm", "--diff-filter", "--dst-prefix", "--find-object",
    "--ignore-matching-lines", "--inter-hunk-context", "--line-prefix", "--output", "--output-indicator-context",
    "--output-indicator-new", "--output-indicator-old", "--rotate-to", "--skip-to", "--src-prefix", "--stat-count",
    "--stat-graph-width", "--stat-name-width", "--stat-width", "--word-diff-regex", "--ws-error-highlight",
    // the revision walk's
    "-n", "--after", "--author", "--before", "--committer", "--date", "--default", "--diff-merges", "--encoding",
    "--exclude", "--exclude-hidden", "--glob", "--grep", "--grep-reflog", "--max-age", "--max-count", "--min-age",
    "--since", "--since-as-filter", "--skip", "--until"};

/// Whether the option `word` takes the next word as its value.
bool takesNextWord(std::string_view word) {
    if (std::find(std::begin(wordsWithValue), std::end(wordsWithValue), word) != std::end(wordsWithValue)) return true;
    if (word.starts_with("--")) return false;
    return word.find_first_of(lettersWithValue, 1) == word.size() - 1;
}

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
    auto dashDash = std::find(arguments.begin(), arguments.end(), "--");
    std::vector<std::string> words(arguments.begin(), dashDash);
    if (verboseLoggingEnabled()) logVerbose("trimmed: " + quotedList(words));

    std::vector<std::string> revisions;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].starts_with("-")) {
            if (takesNextWord(words[i])) ++i;
            continue;
        }
        // git reads every word before a "--" as a revision. Without one it
        // refuses a word that names both a revision and a file, so in a run
        // that went ahead such a word is a path, and so is the rest.
        if (dashDash == arguments.end() && namesAFile(words[i], startDirectory)) break;
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
