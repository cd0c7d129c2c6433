#include "platform/Json.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace platform {
namespace {

/// The bytes with a short escape, and the letter after its backslash.
constexpr std::pair<char, char> shortEscapes[] = {{'"', '"'},  {'\\', '\\'}, {'/', '/'},  {'\b', 'b'},
                                                  {'\f', 'f'}, {'\n', 'n'},  {'\r', 'r'}, {'\t', 't'}};

/// How a byte is written inside a JSON string; empty when as it is.
struct Escape {
    char text[6] = {};
    unsigned char size = 0;
    constexpr std::string_view view() const { return {text, size}; }
};

/// Every byte's escape: the short form where there is one, `\u00xx` in
/// lower case for the other control characters, nothing for the rest.
constexpr std::array<Escape, 256> escapes = [] {
    std::array<Escape, 256> table{};
    constexpr char hex[] = "0123456789abcdef";
    for (int c = 0; c < 0x20; ++c) table[c] = {{'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]}, 6};
    for (auto [c, letter] : shortEscapes) table[static_cast<unsigned char>(c)] = {{'\\', letter}, 2};
    return table;
}();

/// The bytes a JSON string does not hold as they are.
constexpr std::array<bool, 256> escaped = [] {
    std::array<bool, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c) table[c] = escapes[c].size > 0;
    return table;
}();

/// The letters of the short escapes.
constexpr std::array<bool, 256> shortEscapeLetters = [] {
    std::array<bool, 256> table{};
    for (auto [c, letter] : shortEscapes) table[static_cast<unsigned char>(letter)] = true;
    return table;
}();

int hexDigit(char h) { return h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : -1; }

/// The size of the escape `text` starts with, when it is the one
/// `appendJsonString` writes for the byte it stands for; 0 otherwise.
std::size_t writtenEscapeSize(std::string_view text) {
    if (text.size() < 2) return 0;
    // A short form is the one written for its byte: "\/" above all, as
    // every "/" of a path is written.
    if (shortEscapeLetters[static_cast<unsigned char>(text[1])]) return 2;
    if (text.size() < 6) return 0;
    int high = hexDigit(text[4]), low = hexDigit(text[5]);
    if (high < 0 || low < 0) return 0;
    const auto& escape = escapes[static_cast<std::size_t>(high * 16 + low)];
    return escape.size > 0 && text.starts_with(escape.view()) ? escape.size : 0;
}

}  // namespace

std::size_t unescapedLength(std::string_view text) {
    // Paths in a session record and the texts of a command description are
    // nearly all plain bytes, so they are passed over eight at a time: a
    // word is plain when no byte in it is below 0x20 or equal to one of the
    // three other escaped characters. The word holding the first escape is
    // then searched byte by byte.
    constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    const auto hasZeroByte = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        if (((w - ones * 0x20) & ~w & highs) | hasZeroByte(w ^ (ones * '"')) | hasZeroByte(w ^ (ones * '\\')) |
            hasZeroByte(w ^ (ones * '/')))
            break;
    }
    while (i < text.size() && !escaped[static_cast<unsigned char>(text[i])]) ++i;
    return i;
}

void appendJsonString(std::string_view text, std::string& out) {
    // Runs that need no escape are copied whole.
    out += '"';
    while (true) {
        auto run = unescapedLength(text);
        out.append(text.data(), run);
        if (run == text.size()) break;
        out += escapes[static_cast<unsigned char>(text[run])].view();
        text.remove_prefix(run + 1);
    }
    out += '"';
}

std::optional<std::size_t> writtenJsonStringSize(std::string_view text) {
    if (!text.starts_with('"')) return std::nullopt;
    auto rest = text;
    rest.remove_prefix(1);
    while (true) {
        // Most of a path needs no escape: such bytes are passed in one stretch.
        rest.remove_prefix(unescapedLength(rest));
        if (rest.empty()) return std::nullopt;
        if (rest.front() == '"') return text.size() - rest.size() + 1;
        // Any other byte stopped at stands unescaped, so was not written so.
        if (rest.front() != '\\') return std::nullopt;
        auto escape = writtenEscapeSize(rest);
        if (escape == 0) return std::nullopt;
        rest.remove_prefix(escape);
    }
}

namespace {

void write(const nlohmann::json& value, std::string& out) {
    switch (value.type()) {
        case nlohmann::json::value_t::object: {
            // Members come out of nlohmann's map in key order.
            out += '{';
            bool first = true;
            for (auto it = value.begin(); it != value.end(); ++it) {
                if (!first) out += ',';
                first = false;
                appendJsonString(it.key(), out);
                out += ':';
                write(it.value(), out);
            }
            out += '}';
            return;
        }
        case nlohmann::json::value_t::array: {
            out += '[';
            bool first = true;
            for (const auto& element : value) {
                if (!first) out += ',';
                first = false;
                write(element, out);
            }
            out += ']';
            return;
        }
        case nlohmann::json::value_t::string: appendJsonString(value.get_ref<const std::string&>(), out); return;
        default: out += value.dump(); return;
    }
}

}  // namespace

std::string serializeJson(const nlohmann::json& value) {
    std::string out;
    write(value, out);
    return out;
}

}  // namespace platform
