#include "platform/Json.hpp"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace platform {

std::size_t unescapedLength(std::string_view text) {
    static constexpr auto escaped = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c) table[c] = true;
        table['"'] = table['\\'] = table['/'] = true;
        return table;
    }();
    // Paths in a session record and the texts of a command description are
    // nearly all plain bytes, so they are passed over eight at a time: a
    // word is plain when no byte in it is below 0x20 or equal to one of the
    // three escaped characters. The word holding the first escape is then
    // searched byte by byte.
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

std::string_view jsonEscape(char c, char (&buffer)[8]) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '/': return "\\/";
        case '\b': return "\\b";
        case '\f': return "\\f";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
    }
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned char>(c));
    return buffer;
}

void appendJsonString(std::string_view text, std::string& out) {
    // Runs that need no escape are copied whole.
    out += '"';
    while (true) {
        auto run = unescapedLength(text);
        out.append(text.data(), run);
        if (run == text.size()) break;
        char buffer[8];
        out += jsonEscape(text[run], buffer);
        text.remove_prefix(run + 1);
    }
    out += '"';
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
