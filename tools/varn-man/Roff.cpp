#include "tools/varn-man/Roff.hpp"

#include <cstdio>

#include "platform/Utf8.hpp"

namespace varnman {

std::string escaped(std::string_view text, bool literalDashes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        long c = platform::decodeUtf8(text, i, length);
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
