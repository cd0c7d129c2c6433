#pragma once
// Texts that differ only in how their characters are composed ("é" as one
// code point or as "e" and a combining accent) are the same text for the
// records, as they are for the application.

#include <cstddef>
#include <string>
#include <string_view>

namespace VarnShared {

/// `text` in Unicode normalization form C; bytes that are not valid UTF-8
/// are kept as they are.
std::string canonicalForm(std::string_view text);

/// The two texts are canonically equivalent.
bool canonicallyEqual(std::string_view a, std::string_view b);

/// A hash that agrees with `canonicallyEqual`.
std::size_t canonicalHash(std::string_view text);

}  // namespace VarnShared
