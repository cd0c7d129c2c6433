#include "shared/SessionKey.hpp"

#include <cstdio>

#include "platform/TemporaryDirectory.hpp"

namespace VarnShared {

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\0': out += "\\0"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    // A literal backslash is always doubled, so this form
                    // cannot be confused with text that merely looks like it.
                    char buffer[12];
                    std::snprintf(buffer, sizeof buffer, "\\u{%x}", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

std::string sessionIdentityText(const DiffToolSession& session) {
    auto optionalText = [](const std::optional<std::string>& text) {
        return text ? "Optional(" + quotedText(*text) + ")" : std::string("nil");
    };
    std::string pid = session.pid ? "Optional(" + std::to_string(*session.pid) + ")" : std::string("nil");
    return pid + ":" + optionalText(session.repo) + ":" + optionalText(session.revspecA) + ":" +
           optionalText(session.revspecB);
}

std::uint64_t fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string sessionKey(const DiffToolSession& session) { return std::to_string(fnv1a64(sessionIdentityText(session))); }

std::string sessionDirectory(const DiffToolSession& session) {
    return platform::temporaryDirectoryPath() + "/" + sessionKey(session);
}

}  // namespace VarnShared
