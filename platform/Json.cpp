#include "platform/Json.hpp"

#include <cstdio>

namespace platform {

void appendJsonString(std::string_view text, std::string& out) {
    // Runs of characters that need no escape are copied whole: paths in a
    // session record are nearly all such characters.
    out += '"';
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        const char* escape = nullptr;
        switch (c) {
            case '"': escape = "\\\""; break;
            case '\\': escape = "\\\\"; break;
            case '/': escape = "\\/"; break;
            case '\b': escape = "\\b"; break;
            case '\f': escape = "\\f"; break;
            case '\n': escape = "\\n"; break;
            case '\r': escape = "\\r"; break;
            case '\t': escape = "\\t"; break;
            default:
                if (c >= 0x20) continue;
        }
        out.append(text, run, i - run);
        run = i + 1;
        if (escape) {
            out += escape;
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        }
    }
    out.append(text, run, std::string::npos);
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
