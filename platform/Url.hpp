#pragma once
// URLs as the hand-off model needs them: components held percent-encoded,
// split from text by the generic URI syntax without resolving against any
// base, built back into text, and file URLs of local paths.
//
// Texts are UTF-8. Decoding gives nothing for bytes that are not UTF-8, so
// every decoded text is one that an encoder could have been given.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// One item of a URL query. An absent value is written as the name alone,
/// without "="; an empty value is written as the name and "=".
struct QueryItem {
    std::string name;
    std::optional<std::string> value;

    bool operator==(const QueryItem&) const = default;
};

/// The first item named exactly `name`; later duplicates never count.
const QueryItem* findQueryItem(const std::vector<QueryItem>& items, std::string_view name);

/// What a text is escaped for. Each escapes every byte the part does not allow.
enum class UrlPart {
    /// A whole path: "/" separates segments and stays.
    path,
    /// A query item's name or value: "&", "=" and "+" are escaped too, so the
    /// item comes back exactly; "/" and "?" stay.
    queryItem,
    /// A registered host name.
    host,
};

/// `text` with the bytes that `part` does not allow written as "%HH".
std::string percentEncoded(std::string_view text, UrlPart part);
/// `text` with every "%HH" replaced by its byte; nothing when an escape is
/// malformed or the result is not UTF-8.
std::optional<std::string> percentDecoded(std::string_view text);

class Url;

/// The parts of a URL, each held as it appears in the URL text, that is
/// percent-encoded. Any of them can be set freely; `string()` tells whether
/// they form a URL.
struct UrlComponents {
    std::optional<std::string> scheme;
    /// Present when the URL has an authority (the "//" part), even an empty one.
    std::optional<std::string> percentEncodedHost;
    std::optional<std::string> percentEncodedUserInfo;
    /// The port's digits; may be empty ("host:").
    std::optional<std::string> port;
    std::string percentEncodedPath;
    std::optional<std::string> percentEncodedQuery;
    std::optional<std::string> percentEncodedFragment;

    /// Splits `text` into its parts; nothing when the text is no URL or
    /// relative reference. Nothing is resolved or normalised.
    static std::optional<UrlComponents> split(std::string_view text);

    /// The decoded host; nothing when there is none or it does not decode.
    std::optional<std::string> host() const;
    /// Sets the host; "[...]" is an IP literal and is kept as given.
    void setHost(std::string_view host);
    /// The decoded path, exactly (a trailing "/" stays); nothing when it does not decode.
    std::optional<std::string> path() const;
    void setPath(std::string_view path);
    /// The decoded query items in order: empty when there is no query,
    /// nothing when a name or value does not decode.
    std::optional<std::vector<QueryItem>> queryItems() const;
    /// Sets the query from `items`; an empty list removes the query.
    void setQueryItems(const std::vector<QueryItem>& items);

    /// The URL text, or nothing when the parts do not form a URL (a malformed
    /// scheme, host, port or escape, a character a part does not allow, a
    /// path that does not begin with "/" after an authority, ...).
    std::optional<std::string> string() const;
    std::optional<Url> url() const;
};

/// A well-formed URL: its text and the components it splits into.
class Url {
public:
    /// Nothing when `text` is no URL or relative reference.
    static std::optional<Url> parse(std::string_view text);

    const std::string& string() const { return text_; }
    const UrlComponents& components() const { return components_; }

    const std::optional<std::string>& scheme() const { return components_.scheme; }
    std::optional<std::string> host() const { return components_.host(); }
    /// The decoded path with a trailing "/" dropped (except for "/" itself);
    /// nothing when it does not decode.
    std::optional<std::string> path() const;
    /// The decoded path segments; a leading "/" is the first component and
    /// empty segments do not count ("/diff//r" gives "/", "diff", "r").
    std::optional<std::vector<std::string>> pathComponents() const;
    std::optional<std::vector<QueryItem>> queryItems() const { return components_.queryItems(); }

    /// The scheme is "file", in any case.
    bool isFileURL() const;
    /// For a file URL, the local path it names (as `path()`); nothing for
    /// other URLs and for paths that hold a NUL character.
    std::optional<std::string> filePath() const;
    /// For a file URL, the same location with every symbolic link resolved
    /// and "." and ".." removed (`platform::resolvingSymlinksInPath`). Other
    /// URLs come back unchanged.
    Url resolvingSymlinksInPath() const;

    bool operator==(const Url& other) const { return text_ == other.text_; }

private:
    Url(std::string text, UrlComponents components) : text_(std::move(text)), components_(std::move(components)) {}
    friend struct UrlComponents;

    std::string text_;
    UrlComponents components_;
};

/// The file URL of a local path ("file:///..."). An absolute path is kept as
/// written; a relative one is taken against the current directory and
/// standardised. Nothing when the path holds a NUL character or is not UTF-8,
/// or is relative while the current directory cannot be read.
std::optional<Url> fileURL(std::string_view path);

}  // namespace platform
