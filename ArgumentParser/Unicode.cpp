#include "ArgumentParser/Unicode.hpp"

#include <utf8proc.h>

namespace ap::unicode {
namespace {

// Decodes one code point at `i`; an invalid byte yields -1 and length 1.
utf8proc_int32_t decode(std::string_view text, std::size_t i, std::size_t& length) {
    utf8proc_int32_t cp = -1;
    auto n = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + i),
                              static_cast<utf8proc_ssize_t>(text.size() - i), &cp);
    if (n <= 0) {
        length = 1;
        return -1;
    }
    length = static_cast<std::size_t>(n);
    return cp;
}

template <class Map>
std::string mapped(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        auto cp = decode(text, i, length);
        if (cp < 0) {
            out.append(text.substr(i, length));
        } else {
            utf8proc_uint8_t buffer[4];
            auto n = utf8proc_encode_char(map(cp), buffer);
            out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
        }
        i += length;
    }
    return out;
}

}  // namespace

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    utf8proc_int32_t state = 0;
    utf8proc_int32_t previous = -1;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        auto cp = decode(text, i, length);
        bool boundary = i == 0 || previous < 0 || cp < 0 ||
                        utf8proc_grapheme_break_stateful(previous, cp, &state);
        if (boundary && i > start) {
            result.push_back(text.substr(start, i - start));
            start = i;
        }
        if (cp < 0) state = 0;
        previous = cp;
        i += length;
    }
    if (start < text.size()) result.push_back(text.substr(start));
    return result;
}

std::size_t count(std::string_view text) {
    // Plain ASCII without control characters never joins into clusters
    // (CR LF is the one ASCII cluster), which keeps the common case cheap.
    bool ascii = true;
    for (unsigned char c : text) {
        if (c >= 0x80 || c == '\r') {
            ascii = false;
            break;
        }
    }
    return ascii ? text.size() : characters(text).size();
}

std::string_view dropFirst(std::string_view text, std::size_t n) {
    return text.substr(prefix(text, n).size());
}

std::string_view prefix(std::string_view text, std::size_t n) {
    if (n == 0) return text.substr(0, 0);
    auto chars = characters(text);
    if (n >= chars.size()) return text;
    return text.substr(0, static_cast<std::size_t>(chars[n].data() - text.data()));
}

std::string lowercased(std::string_view text) { return mapped(text, utf8proc_tolower); }
std::string uppercased(std::string_view text) { return mapped(text, utf8proc_toupper); }

bool isUppercase(std::string_view character) {
    return lowercased(character) != character && uppercased(character) == character;
}

bool isLowercase(std::string_view character) {
    return uppercased(character) != character && lowercased(character) == character;
}

}  // namespace ap::unicode
