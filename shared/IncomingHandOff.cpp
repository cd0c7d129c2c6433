#include "shared/IncomingHandOff.hpp"

#include <algorithm>
#include <string>

#include "shared/HistoryLink.hpp"
#include "shared/MergeLink.hpp"
#include "shared/UniversalLinks.hpp"

namespace VarnShared {

namespace {

std::optional<platform::Url> subjectFileURL(const platform::Url& url) {
    auto subject = linkSubject(url);
    return subject ? platform::fileURL(*subject) : std::nullopt;
}

std::optional<platform::Url> ownPathFileURL(const platform::Url& url) {
    auto path = url.path();
    if (!path || path->empty()) return std::nullopt;
    return platform::fileURL(*path);
}

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::optional<platform::Url> repositoryURL(const platform::Url& url) {
    if (isUniversalLink(url, LinkKind::diff)) return subjectFileURL(url);
    if (isUniversalLink(url, LinkKind::merge)) {
        auto link = parseMergeLink(url);
        return link ? std::optional(link->repo) : std::nullopt;
    }
    if (isUniversalLink(url, LinkKind::history)) {
        auto link = parseHistoryLink(url);
        return link ? std::optional(link->repo) : std::nullopt;
    }
    if (url.scheme() && lowercased(*url.scheme()) == "repo") return ownPathFileURL(url);
    return std::nullopt;
}

std::optional<platform::Url> targetFileURL(const platform::Url& url) {
    // A merge or history link without a repository still names its file.
    if (isUniversalLink(url, LinkKind::merge)) {
        auto link = parseMergeLink(url);
        return link ? std::optional(link->merge) : subjectFileURL(url);
    }
    if (isUniversalLink(url, LinkKind::history)) {
        auto link = parseHistoryLink(url);
        return link ? std::optional(link->history) : subjectFileURL(url);
    }
    if (isUniversalLink(url, LinkKind::diff)) return subjectFileURL(url);
    return ownPathFileURL(url);
}

}  // namespace VarnShared
