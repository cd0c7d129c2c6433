#pragma once
// UTF-8 as the records, links and descriptions accept it: well-formed
// sequences only, no overlong forms, surrogates or code points above
// U+10FFFF.

#include <cstddef>
#include <string_view>

namespace platform {

/// The code point that starts at byte `at` of `text`, and in `length` its
/// length in bytes; -1 and a length of 1 for a byte that starts no
/// well-formed sequence.
long decodeUtf8(std::string_view text, std::size_t at, std::size_t& length);

/// `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

}  // namespace platform
