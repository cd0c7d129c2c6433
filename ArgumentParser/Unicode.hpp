#pragma once
// User-perceived characters (extended grapheme clusters) and case mapping.
// Every width, window and "first character" in the framework counts these,
// never bytes or code points. Bytes that are not valid UTF-8 count as one
// character each and are never case-mapped.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ap::unicode {

/// ASCII without CR: each byte is one character and its own case mapping
/// (CR LF is the one cluster of two ASCII bytes). Nearly every declared
/// text is such text.
bool isPlainAscii(std::string_view text);

/// The characters of `text`, each a view into it, in order.
std::vector<std::string_view> characters(std::string_view text);

/// The number of characters of `text`.
std::size_t count(std::string_view text);

/// `text` without its first `n` characters (empty when it has fewer).
std::string_view dropFirst(std::string_view text, std::size_t n);

/// `text` cut after its first `n` characters.
std::string_view prefix(std::string_view text, std::size_t n);

std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

/// A character that changes when lower-cased but not when upper-cased.
bool isUppercase(std::string_view character);
/// A character that changes when upper-cased but not when lower-cased.
bool isLowercase(std::string_view character);

}  // namespace ap::unicode
