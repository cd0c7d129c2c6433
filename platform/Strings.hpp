#pragma once
// Lists of texts made into one text and one text cut into a list.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// `parts` with `separator` between each two: {"a", "b"} and ", " → "a, b".
std::string joined(const std::vector<std::string>& parts, std::string_view separator);

/// The pieces of `text` between the occurrences of `separator`, empty ones
/// included: "a::b" → {"a", "", "b"}, "" → {""}. Views into `text`.
std::vector<std::string_view> split(std::string_view text, char separator);

}  // namespace platform
