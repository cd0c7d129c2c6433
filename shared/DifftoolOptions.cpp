#include "shared/DifftoolOptions.hpp"

#include "platform/Paths.hpp"
#include "shared/CanonicalText.hpp"

namespace VarnShared {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c <= '9') return c - '0';
    return (c | 0x20) - 'a' + 10;
}

/// Characters that may stand in a URL as they are; anything else (blanks,
/// controls, non-ASCII, "<>\"\\^`{|}") makes the text no URL.
bool isUrlCharacter(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    switch (c) {
        case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
            return false;
        default:
            return true;
    }
}

/// The decoded path of a "file:" URL (the host, query and fragment left
/// aside, a trailing "/" dropped as a file URL's path does); nothing when the
/// text is no well-formed URL or its path does not decode to UTF-8.
std::optional<std::string> fileUrlPath(std::string_view url) {
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (!isUrlCharacter(static_cast<unsigned char>(url[i]))) return std::nullopt;
        if (url[i] == '%' && (i + 2 >= url.size() || !isHexDigit(url[i + 1]) || !isHexDigit(url[i + 2])))
            return std::nullopt;
    }
    auto rest = url.substr(5);  // after "file:"
    if (rest.starts_with("//")) {
        auto pathStart = rest.find('/', 2);
        rest = pathStart == std::string_view::npos ? std::string_view() : rest.substr(pathStart);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%') {
            path += static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    if (!isValidUtf8(path)) return std::nullopt;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string normalizeFileArgument(std::string_view text) {
    if (text.starts_with("file:/")) {
        if (auto path = fileUrlPath(text)) return *path;
        return normalizeFileArgument(text.substr(5));
    }
    if (text.empty() || text.front() == '/') return std::string(text);
    return platform::absolutePath(std::string(text));
}

DifftoolOptions::DifftoolOptions(const std::optional<std::string>& repo, std::optional<std::int32_t> pid,
                                 std::optional<std::string> revspecA, std::optional<std::string> revspecB,
                                 std::string_view base, std::string_view local, std::string_view remote,
                                 std::string_view merged)
    : DiffToolSession{platform::resolvingSymlinksInPath(
                          platform::absolutePath(platform::standardizingPath(repo.value_or(".")))),
                      pid, std::move(revspecA), std::move(revspecB)},
      base(normalizeFileArgument(base)),
      local(normalizeFileArgument(local)),
      remote(normalizeFileArgument(remote)),
      merged(normalizeFileArgument(merged)) {}

}  // namespace VarnShared
