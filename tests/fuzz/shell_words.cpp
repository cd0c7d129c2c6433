// The shell-style splitting of a process group leader's command line, and
// the revisions read from it. The words must come out the same when they are
// quoted and split again; an unfinished quote or escape gives nothing rather
// than a guess, and so no revisions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/GitRevisions.hpp"
#include "platform/ShellWords.hpp"

namespace {

/// `word` in single quotes, each quote inside written as '\''.
std::string quoted(const std::string& word) {
    std::string text = "'";
    for (char c : word) {
        if (c == '\'') text += "'\\''";
        else text += c;
    }
    return text + "'";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    auto words = platform::splitShellWords(line);
    auto revisions = varn::parseGitRevisions(line);
    // git's options are never taken for a revision, and a second needs a first.
    if (revisions.revspecA && revisions.revspecA->starts_with("-")) __builtin_trap();
    if (revisions.revspecB && !revisions.revspecA) __builtin_trap();
    if (!words) {
        if (revisions.revspecA) __builtin_trap();
        return 0;
    }
    std::string again;
    for (const auto& word : *words) again += quoted(word) + " ";
    auto split = platform::splitShellWords(again);
    if (!split || *split != *words) __builtin_trap();
    return 0;
}
