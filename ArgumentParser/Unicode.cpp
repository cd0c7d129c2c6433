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

bool isAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// ASCII but CR, and the typographic punctuation from U+2010 to U+2027
// (dashes, quotes, the ellipsis), are characters that join nothing and
// that nothing joins: between two of them there is always a boundary. Help
// texts with an ellipsis are laid out without reading the Unicode tables.
bool breaksWithoutTables(utf8proc_int32_t cp) { return (cp < 0x80 && cp != '\r') || (cp >= 0x2010 && cp <= 0x2027); }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// Plain ASCII keeps declarations, help and scripts away from the Unicode
// tables, whose pages a short run would otherwise have to read in.
bool isPlainAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80 || c == '\r') return false;
    return true;
}

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> result;
    if (isPlainAscii(text)) {
        result.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) result.push_back(text.substr(i, 1));
        return result;
    }
    std::size_t start = 0;
    utf8proc_int32_t state = 0;
    utf8proc_int32_t previous = -1;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        auto cp = decode(text, i, length);
        bool boundary = true;
        if (i > 0 && previous >= 0 && cp >= 0) {
            if (breaksWithoutTables(previous) && breaksWithoutTables(cp))
                state = 0;  // what the tables would leave after such a character
            else
                boundary = utf8proc_grapheme_break_stateful(previous, cp, &state);
        }
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

std::size_t count(std::string_view text) { return isPlainAscii(text) ? text.size() : characters(text).size(); }

std::string_view dropFirst(std::string_view text, std::size_t n) { return text.substr(prefix(text, n).size()); }

std::string_view prefix(std::string_view text, std::size_t n) {
    if (n == 0) return text.substr(0, 0);
    if (isPlainAscii(text)) return text.substr(0, n);
    auto chars = characters(text);
    if (n >= chars.size()) return text;
    return text.substr(0, static_cast<std::size_t>(chars[n].data() - text.data()));
}

// ASCII letters map to ASCII letters and nothing else in ASCII changes case.
std::string lowercased(std::string_view text) {
    if (!isAscii(text)) return mapped(text, utf8proc_tolower);
    std::string out(text);
    for (auto& c : out) c = asciiLower(c);
    return out;
}

std::string uppercased(std::string_view text) {
    if (!isAscii(text)) return mapped(text, utf8proc_toupper);
    std::string out(text);
    for (auto& c : out) c = asciiUpper(c);
    return out;
}

bool isUppercase(std::string_view character) {
    if (character.size() == 1 && isAscii(character)) return character[0] >= 'A' && character[0] <= 'Z';
    return lowercased(character) != character && uppercased(character) == character;
}

bool isLowercase(std::string_view character) {
    if (character.size() == 1 && isAscii(character)) return character[0] >= 'a' && character[0] <= 'z';
    return uppercased(character) != character && lowercased(character) == character;
}

}  // namespace ap::unicode
