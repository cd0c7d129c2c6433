#include "platform/Json.hpp"

#include <array>
#include <cstdio>

namespace platform {

void appendJsonString(std::string_view text, std::string& out) {
    // Runs of characters that need no escape are found by table and copied
    // whole: paths in a session record and the texts of a command
    // description are nearly all such characters.
    static constexpr auto escaped = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c) table[c] = true;
        table['"'] = table['\\'] = table['/'] = true;
        return table;
    }();
    out += '"';
    std::size_t run = 0;
    for (std::size_t i = 0;; ++i) {
        while (i < text.size() && !escaped[static_cast<unsigned char>(text[i])]) ++i;
        out.append(text, run, i - run);
        if (i == text.size()) break;
        run = i + 1;
        auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '/': out += "\\/"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            }
        }
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
        case nlohmann::json::value_t::string:
            appendJsonString(value.get_ref<const std::string&>(), out);
            return;
        default:
            out += value.dump();
            return;
    }
}

}  // namespace

std::string serializeJson(const nlohmann::json& value) {
    std::string out;
    write(value, out);
    return out;
}

}  // namespace platform
