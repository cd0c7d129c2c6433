#include "platform/Url.hpp"

#include <arpa/inet.h>

#include <algorithm>
#include <vector>

#include "platform/Paths.hpp"
#include "platform/Strings.hpp"
#include "platform/Utf8.hpp"

namespace platform {

namespace {

bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool isUnreserved(char c) { return isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~'; }
bool isSubDelim(char c) { return std::string_view("!$&'()*+,;=").find(c) != std::string_view::npos; }
bool isPathChar(char c) { return isUnreserved(c) || isSubDelim(c) || c == ':' || c == '@'; }

// What each part allows unescaped, besides "%HH" escapes.
bool allowedInPath(char c) { return isPathChar(c) || c == '/'; }
bool allowedInQuery(char c) { return isPathChar(c) || c == '/' || c == '?'; }
bool allowedInQueryItem(char c) { return allowedInQuery(c) && c != '&' && c != '=' && c != '+'; }
bool allowedInRegName(char c) { return isUnreserved(c) || isSubDelim(c); }
bool allowedInUserInfo(char c) { return isUnreserved(c) || isSubDelim(c) || c == ':'; }

template <class Allowed>
bool isEncodedAs(std::string_view text, Allowed allowed) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) return false;
            i += 2;
        } else if (!allowed(text[i])) {
            return false;
        }
    }
    return true;
}

bool isValidScheme(std::string_view text) {
    if (text.empty() || !isAlpha(text.front())) return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.'; });
}

bool isValidIpLiteral(std::string_view host) {
    if (host.size() < 2 || host.front() != '[' || host.back() != ']') return false;
    std::string inner(host.substr(1, host.size() - 2));
    if (!inner.empty() && (inner.front() == 'v' || inner.front() == 'V')) {
        // IPvFuture: "v" 1*HEXDIG "." 1*( unreserved / sub-delims / ":" )
        auto dot = inner.find('.');
        if (dot == std::string::npos || dot < 2 || dot + 1 == inner.size()) return false;
        auto version = std::string_view(inner).substr(1, dot - 1);
        auto rest = std::string_view(inner).substr(dot + 1);
        return std::all_of(version.begin(), version.end(), isHexDigit) &&
               std::all_of(rest.begin(), rest.end(), allowedInUserInfo);
    }
    in6_addr address;
    return ::inet_pton(AF_INET6, inner.c_str(), &address) == 1;
}

bool isValidHost(std::string_view host) {
    if (!host.empty() && host.front() == '[') return isValidIpLiteral(host);
    return isEncodedAs(host, allowedInRegName);
}

bool isValidPort(std::string_view port) { return std::all_of(port.begin(), port.end(), isDigit); }

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return c - 'a' + 10;
}

template <class Allowed>
std::string encode(std::string_view text, Allowed allowed) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (allowed(c)) {
            out += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 0x0F];
        }
    }
    return out;
}

}  // namespace

const QueryItem* findQueryItem(const std::vector<QueryItem>& items, std::string_view name) {
    auto found = std::find_if(items.begin(), items.end(), [&](const QueryItem& item) { return item.name == name; });
    return found == items.end() ? nullptr : &*found;
}

std::string percentEncoded(std::string_view text, UrlPart part) {
    switch (part) {
        case UrlPart::path: return encode(text, allowedInPath);
        case UrlPart::queryItem: return encode(text, allowedInQueryItem);
        case UrlPart::host: return encode(text, allowedInRegName);
    }
    return encode(text, allowedInRegName);
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) return std::nullopt;
        out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
        i += 2;
    }
    if (!isValidUtf8(out)) return std::nullopt;
    return out;
}

std::optional<UrlComponents> UrlComponents::split(std::string_view text) {
    if (text.empty()) return std::nullopt;
    UrlComponents parts;
    auto rest = text;

    // A ":" before any "/", "?" or "#" ends the scheme; a relative reference
    // may not have one in its first segment, so a bad scheme is no URL.
    auto schemeEnd = rest.find_first_of(":/?#");
    if (schemeEnd != std::string_view::npos && rest[schemeEnd] == ':') {
        auto scheme = rest.substr(0, schemeEnd);
        if (!isValidScheme(scheme)) return std::nullopt;
        parts.scheme = std::string(scheme);
        rest.remove_prefix(schemeEnd + 1);
    }

    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        auto authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
        auto authority = rest.substr(0, authorityEnd);
        rest.remove_prefix(authorityEnd);
        if (auto at = authority.find('@'); at != std::string_view::npos) {
            auto userInfo = authority.substr(0, at);
            if (!isEncodedAs(userInfo, allowedInUserInfo)) return std::nullopt;
            parts.percentEncodedUserInfo = std::string(userInfo);
            authority.remove_prefix(at + 1);
        }
        std::string_view host = authority;
        if (!authority.empty() && authority.front() == '[') {
            auto close = authority.find(']');
            if (close == std::string_view::npos) return std::nullopt;
            host = authority.substr(0, close + 1);
            auto after = authority.substr(close + 1);
            if (!after.empty()) {
                if (after.front() != ':') return std::nullopt;
                parts.port = std::string(after.substr(1));
            }
        } else if (auto colon = authority.rfind(':'); colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            parts.port = std::string(authority.substr(colon + 1));
        }
        if (!isValidHost(host) || (parts.port && !isValidPort(*parts.port))) return std::nullopt;
        parts.percentEncodedHost = std::string(host);
    }

    auto pathEnd = std::min(rest.find_first_of("?#"), rest.size());
    parts.percentEncodedPath = std::string(rest.substr(0, pathEnd));
    rest.remove_prefix(pathEnd);
    if (!isEncodedAs(parts.percentEncodedPath, allowedInPath)) return std::nullopt;

    if (!rest.empty() && rest.front() == '?') {
        auto queryEnd = std::min(rest.find('#'), rest.size());
        parts.percentEncodedQuery = std::string(rest.substr(1, queryEnd - 1));
        rest.remove_prefix(queryEnd);
        if (!isEncodedAs(*parts.percentEncodedQuery, allowedInQuery)) return std::nullopt;
    }
    if (!rest.empty()) {  // begins with "#"
        parts.percentEncodedFragment = std::string(rest.substr(1));
        if (!isEncodedAs(*parts.percentEncodedFragment, allowedInQuery)) return std::nullopt;
    }
    return parts;
}

std::optional<std::string> UrlComponents::host() const {
    if (!percentEncodedHost) return std::nullopt;
    if (!percentEncodedHost->empty() && percentEncodedHost->front() == '[') return percentEncodedHost;
    return percentDecoded(*percentEncodedHost);
}

void UrlComponents::setHost(std::string_view host) {
    if (!host.empty() && host.front() == '[' && host.back() == ']') {
        percentEncodedHost = std::string(host);
    } else {
        percentEncodedHost = percentEncoded(host, UrlPart::host);
    }
}

std::optional<std::string> UrlComponents::path() const { return percentDecoded(percentEncodedPath); }

void UrlComponents::setPath(std::string_view path) { percentEncodedPath = percentEncoded(path, UrlPart::path); }

std::optional<std::vector<QueryItem>> UrlComponents::queryItems() const {
    std::vector<QueryItem> items;
    if (!percentEncodedQuery) return items;
    for (auto part : platform::split(*percentEncodedQuery, '&')) {
        auto equals = part.find('=');
        auto name = percentDecoded(part.substr(0, equals));
        if (!name) return std::nullopt;
        std::optional<std::string> value;
        if (equals != std::string_view::npos) {
            value = percentDecoded(part.substr(equals + 1));
            if (!value) return std::nullopt;
        }
        items.push_back({std::move(*name), std::move(value)});
    }
    return items;
}

void UrlComponents::setQueryItems(const std::vector<QueryItem>& items) {
    if (items.empty()) {
        percentEncodedQuery.reset();
        return;
    }
    std::string query;
    for (const auto& item : items) {
        if (&item != &items.front()) query += '&';
        query += percentEncoded(item.name, UrlPart::queryItem);
        if (item.value) {
            query += '=';
            query += percentEncoded(*item.value, UrlPart::queryItem);
        }
    }
    percentEncodedQuery = std::move(query);
}

std::optional<std::string> UrlComponents::string() const {
    std::string text;
    if (scheme) {
        if (!isValidScheme(*scheme)) return std::nullopt;
        text.append(*scheme).append(":");
    }
    if (percentEncodedHost) {
        if (!isValidHost(*percentEncodedHost)) return std::nullopt;
        text += "//";
        if (percentEncodedUserInfo) {
            if (!isEncodedAs(*percentEncodedUserInfo, allowedInUserInfo)) return std::nullopt;
            text.append(*percentEncodedUserInfo).append("@");
        }
        text += *percentEncodedHost;
        if (port) {
            if (!isValidPort(*port)) return std::nullopt;
            text.append(":").append(*port);
        }
        if (!percentEncodedPath.empty() && percentEncodedPath.front() != '/') return std::nullopt;
    } else {
        if (percentEncodedUserInfo || port) return std::nullopt;
        // Without an authority, "//" would be read back as one, and without a
        // scheme a ":" in the first segment would be read back as a scheme.
        if (percentEncodedPath.substr(0, 2) == "//") return std::nullopt;
        if (!scheme && percentEncodedPath.substr(0, percentEncodedPath.find('/')).find(':') != std::string::npos) {
            return std::nullopt;
        }
    }
    if (!isEncodedAs(percentEncodedPath, allowedInPath)) return std::nullopt;
    text += percentEncodedPath;
    if (percentEncodedQuery) {
        if (!isEncodedAs(*percentEncodedQuery, allowedInQuery)) return std::nullopt;
        text.append("?").append(*percentEncodedQuery);
    }
    if (percentEncodedFragment) {
        if (!isEncodedAs(*percentEncodedFragment, allowedInQuery)) return std::nullopt;
        text.append("#").append(*percentEncodedFragment);
    }
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<Url> UrlComponents::url() const {
    auto text = string();
    if (!text) return std::nullopt;
    return Url(std::move(*text), *this);
}

std::optional<Url> Url::parse(std::string_view text) {
    auto components = UrlComponents::split(text);
    if (!components) return std::nullopt;
    return Url(std::string(text), std::move(*components));
}

std::optional<std::string> Url::path() const {
    auto path = components_.path();
    while (path && path->size() > 1 && path->back() == '/') path->pop_back();
    return path;
}

std::optional<std::vector<std::string>> Url::pathComponents() const {
    std::vector<std::string> result;
    std::string_view path = components_.percentEncodedPath;
    if (!path.empty() && path.front() == '/') result.emplace_back("/");
    for (auto segment : platform::split(path, '/')) {
        if (segment.empty()) continue;
        auto decoded = percentDecoded(segment);
        if (!decoded) return std::nullopt;
        result.push_back(std::move(*decoded));
    }
    return result;
}

bool Url::isFileURL() const {
    const auto& s = components_.scheme;
    return s && s->size() == 4 && std::equal(s->begin(), s->end(), "file", [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

std::optional<std::string> Url::filePath() const {
    if (!isFileURL()) return std::nullopt;
    auto decoded = path();
    if (!decoded || decoded->empty() || decoded->front() != '/' || decoded->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return decoded;
}

Url Url::resolvingSymlinksInPath() const {
    auto local = filePath();
    if (!local) return *this;
    auto url = fileURL(platform::resolvingSymlinksInPath(*local));
    return url ? *url : *this;
}

std::optional<Url> fileURL(std::string_view path) {
    if (path.find('\0') != std::string_view::npos || !isValidUtf8(path)) return std::nullopt;
    // An absolute path is kept as written; a relative one is made absolute
    // and standardised as relative references are resolved.
    Result<std::string> absolute = std::string(path);
    if (path.empty() || path.front() != '/') absolute = absolutePath(*absolute);
    if (!absolute) return std::nullopt;
    UrlComponents components;
    components.scheme = "file";
    components.percentEncodedHost = "";
    components.setPath(*absolute);
    return components.url();
}

}  // namespace platform
