// The shell-style splitting of a process group leader's command line. The
// words must come out the same when they are quoted and split again, and an
// unfinished quote or escape gives nothing rather than a guess.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
    if (!words) return 0;
    std::string again;
    for (const auto& word : *words) again += quoted(word) + " ";
    auto split = platform::splitShellWords(again);
    if (!split || *split != *words) __builtin_trap();
    return 0;
}
