#include "ArgumentParser/SnakeCase.hpp"

#include "ArgumentParser/Unicode.hpp"

namespace ap {
namespace {

// One rule over two kinds of character: the bytes of plain ASCII, which
// need neither a list of characters nor the Unicode tables, and
// user-perceived characters.
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isSeparator(char c, std::string_view separator) { return separator.size() == 1 && separator[0] == c; }
void appendLowercased(std::string& out, char c) { out += isUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

bool isUpper(std::string_view c) { return unicode::isUppercase(c); }
bool isLower(std::string_view c) { return unicode::isLowercase(c); }
bool isSeparator(std::string_view c, std::string_view separator) { return c == separator; }
void appendLowercased(std::string& out, std::string_view c) { out += unicode::lowercased(c); }

template <class Characters>
std::string snakeCased(const Characters& chars, std::string_view separator) {
    std::string out;
    out.reserve(chars.size() + 4);
    bool separateOnUppercase = true;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        auto c = chars[i];
        if (isUpper(c)) {
            if (separateOnUppercase && !out.empty()) out += separator;
            // Keep runs of capitals together, splitting before the last one
            // when a lowercase letter follows it (URLSession -> url-session).
            separateOnUppercase = i + 2 < chars.size() && isUpper(chars[i + 1]) && isLower(chars[i + 2]);
        } else {
            separateOnUppercase = !isSeparator(c, separator);
        }
        appendLowercased(out, c);
    }
    return out;
}

}  // namespace

std::string convertedToSnakeCase(std::string_view text, std::string_view separator) {
    if (unicode::isPlainAscii(text)) return snakeCased(text, separator);
    return snakeCased(unicode::characters(text), separator);
}

}  // namespace ap
