#include "tools/varn-man/Roff.hpp"

#include <cstdio>

namespace varnman {
namespace {

// The code point starting at `i` and its length in bytes; -1 for a byte that
// starts no valid UTF-8 sequence.
long decode(std::string_view text, std::size_t i, std::size_t& length) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char first = byte(i);
    length = 1;
    if (first < 0x80) return first;
    std::size_t count = first >= 0xF0 && first <= 0xF4 ? 4 : first >= 0xE0 ? 3 : first >= 0xC2 && first < 0xE0 ? 2 : 0;
    if (count == 0 || i + count > text.size()) return -1;
    long codePoint = first & (count == 2 ? 0x1F : count == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < count; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return -1;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point.
    if ((count == 3 && codePoint < 0x800) || (count == 4 && codePoint < 0x10000) ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        return -1;
    length = count;
    return codePoint;
}

}  // namespace

std::string escaped(std::string_view text, bool literalDashes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        long c = decode(text, i, length);
        i += length;
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && literalDashes) {
            out += "\\-";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x80 && c >= 0) {
            out += ' ';
        } else {
            char buffer[32];
            // groff wants at least four upper-case hexadecimal digits.
            std::snprintf(buffer, sizeof buffer, "\\[u%04lX]", c < 0 ? 0xFFFDL : c);
            out += buffer;
        }
    }
    return out;
}

std::string inFont(Font font, std::string_view text, bool literalDashes) {
    switch (font) {
        case Font::roman: return escaped(text, literalDashes);
        case Font::bold: return "\\fB" + escaped(text, literalDashes) + "\\fR";
        case Font::italic: return "\\fI" + escaped(text, literalDashes) + "\\fR";
    }
    return {};
}

std::string line(std::string_view roffText) {
    bool guard = !roffText.empty() && (roffText.front() == '.' || roffText.front() == '\'' || roffText.front() == ' ');
    return (guard ? "\\&" : "") + std::string(roffText) + "\n";
}

std::string textLines(std::string_view text) {
    std::string out;
    bool first = true;
    while (true) {
        auto end = text.find('\n');
        auto piece = text.substr(0, end);
        if (!first) out += piece.empty() ? ".sp\n" : ".br\n";
        if (!piece.empty()) out += line(escaped(piece));
        first = false;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

std::string quotedArgument(std::string_view roffText) {
    std::string out = "\"";
    for (char c : roffText) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace varnman
