#include "platform/Json.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace platform {
namespace {

void writeString(const std::string& text, std::string& out) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '/': out += "\\/"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

void write(const nlohmann::json& value, JsonStyle style, int depth, std::string& out) {
    bool pretty = style == JsonStyle::pretty;
    auto newline = [&](int level) {
        if (!pretty) return;
        out += '\n';
        out.append(static_cast<std::size_t>(level) * 2, ' ');
    };
    switch (value.type()) {
        case nlohmann::json::value_t::object: {
            if (value.empty()) {
                out += "{}";
                return;
            }
            std::vector<const std::string*> keys;
            for (auto it = value.begin(); it != value.end(); ++it) keys.push_back(&it.key());
            if (pretty) std::sort(keys.begin(), keys.end(), [](auto a, auto b) { return *a < *b; });
            out += '{';
            bool first = true;
            for (auto key : keys) {
                if (!first) out += ',';
                first = false;
                newline(depth + 1);
                writeString(*key, out);
                out += pretty ? " : " : ":";
                write(value.at(*key), style, depth + 1, out);
            }
            newline(depth);
            out += '}';
            return;
        }
        case nlohmann::json::value_t::array: {
            if (value.empty()) {
                out += "[]";
                return;
            }
            out += '[';
            bool first = true;
            for (const auto& element : value) {
                if (!first) out += ',';
                first = false;
                newline(depth + 1);
                write(element, style, depth + 1, out);
            }
            newline(depth);
            out += ']';
            return;
        }
        case nlohmann::json::value_t::string:
            writeString(value.get_ref<const std::string&>(), out);
            return;
        default:
            out += value.dump();
            return;
    }
}

}  // namespace

std::string serializeJson(const nlohmann::json& value, JsonStyle style) {
    std::string out;
    write(value, style, 0, out);
    return out;
}

}  // namespace platform
