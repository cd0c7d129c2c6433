// The status file's number: an optional sign, digits and nothing else,
// within the 32-bit signed range. Checked against the standard library's
// own reading of the same text.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "shared/MergeToolStatusWatcher.hpp"

namespace {

std::optional<std::int32_t> expected(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        // from_chars reads no plus sign; a second sign stays a failure.
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
    }
    if (text.empty() || text == "-") return std::nullopt;
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (VarnShared::MergeToolStatusWatcher::parseStatus(text) != expected(text)) __builtin_trap();
    return 0;
}
