#include "shared/UniversalLinks.hpp"

#include "platform/Utf8.hpp"

namespace VarnShared {

std::string_view linkKindName(LinkKind kind) {
    switch (kind) {
        case LinkKind::diff: return "diff";
        case LinkKind::merge: return "merge";
        case LinkKind::history: return "history";
    }
    return "diff";
}

platform::UrlComponents linkComponents(LinkKind kind, std::string_view subject) {
    platform::UrlComponents components;
    components.scheme = "https";
    components.setHost(VARN_LINK_HOST);
    // Appended piece by piece: GCC 12 misreads a chain of "+" on strings at -O3.
    std::string path = "/";
    path.append(linkKindName(kind)).append("/").append(subject);
    components.setPath(path);
    return components;
}

bool isUniversalLink(const platform::Url& url) { return url.scheme() == "https" && url.host() == VARN_LINK_HOST; }

bool isUniversalLink(const platform::Url& url, LinkKind kind) {
    if (!isUniversalLink(url)) return false;
    auto components = url.pathComponents();
    return components && components->size() >= 2 && (*components)[1] == linkKindName(kind);
}

std::optional<std::string> linkSubject(const platform::Url& url) {
    auto components = url.pathComponents();
    if (!components) return std::nullopt;
    std::string subject = "/";
    for (std::size_t i = 2; i < components->size(); ++i) {
        if (i > 2) subject += '/';
        subject += (*components)[i];
    }
    return subject;
}

std::optional<platform::Url> subjectLink(LinkKind kind, std::string_view subject, std::string_view repo) {
    // Texts that are not UTF-8 could not be read back from the link.
    if (!platform::isValidUtf8(subject) || !platform::isValidUtf8(repo)) return std::nullopt;
    auto components = linkComponents(kind, subject);
    components.setQueryItems({{"repo", std::string(repo)}});
    return components.url();
}

std::optional<platform::Url> subjectLink(LinkKind kind, std::string_view subject, const platform::Url& repo) {
    auto path = repo.path();
    if (!path) return std::nullopt;
    return subjectLink(kind, subject, *path);
}

std::optional<platform::Url> subjectLinkInRepository(LinkKind kind, std::string_view subject, const std::string& repo) {
    auto url = platform::fileURL(repo);
    if (!url) return std::nullopt;
    return subjectLink(kind, subject, *url);
}

std::optional<SubjectAndRepository> parseSubjectLink(const platform::Url& url, LinkKind kind) {
    if (!isUniversalLink(url, kind)) return std::nullopt;
    auto items = url.queryItems();
    if (!items) return std::nullopt;
    auto repo = platform::findQueryItem(*items, "repo");
    if (!repo || !repo->value) return std::nullopt;
    auto subject = linkSubject(url);
    if (!subject) return std::nullopt;
    auto subjectURL = platform::fileURL(*subject);
    auto repoURL = platform::fileURL(*repo->value);
    if (!subjectURL || !repoURL) return std::nullopt;
    return SubjectAndRepository{std::move(*subjectURL), std::move(*repoURL)};
}

}  // namespace VarnShared
