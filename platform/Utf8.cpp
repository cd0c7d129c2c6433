#include "platform/Utf8.hpp"

#include <cstdint>
#include <cstring>

namespace platform {

long decodeUtf8(std::string_view text, std::size_t at, std::size_t& length) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char first = byte(at);
    length = 1;
    if (first < 0x80) return first;
    std::size_t count = first >= 0xC2 && first <= 0xDF   ? 2
                        : first >= 0xE0 && first <= 0xEF ? 3
                        : first >= 0xF0 && first <= 0xF4 ? 4
                                                         : 0;
    if (count == 0 || at + count > text.size()) return -1;
    long codePoint = first & (count == 2 ? 0x1F : count == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < count; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return -1;
        codePoint = (codePoint << 6) | (byte(at + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point.
    if ((count == 3 && codePoint < 0x800) || (count == 4 && codePoint < 0x10000) ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        return -1;
    length = count;
    return codePoint;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // ASCII is valid on its own and is nearly all a path or a description
        // holds: 32 bytes at a time.
        std::uint64_t words[4];
        if (i + sizeof words <= text.size()) {
            std::memcpy(words, text.data() + i, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080u) == 0) {
                i += sizeof words;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 1;
        if (decodeUtf8(text, i, length) < 0) return false;
        i += length;
    }
    return true;
}

}  // namespace platform
