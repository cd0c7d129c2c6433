#include "shared/IncomingHandOff.hpp"

#include <algorithm>
#include <string>

#include "shared/DiffToolMetaData.hpp"
#include "shared/HistoryLink.hpp"
#include "shared/MergeLink.hpp"
#include "shared/MergeToolMetaData.hpp"
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

// Only a file URL names a local hand-off directory: a link from elsewhere
// must not reach into the user's temporary files by its path alone.
template <class Record>
std::optional<Record> handOffRecord(const platform::Url& url) {
    auto directory = url.filePath();
    if (!directory) return std::nullopt;
    auto record = Record::readMetadata(*directory);
    if (!record) return std::nullopt;
    return std::move(*record);
}

std::optional<platform::Url> linkFreeFileURL(const std::string& path) {
    auto url = platform::fileURL(path);
    return url ? std::optional(url->resolvingSymlinksInPath()) : std::nullopt;
}

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::optional<platform::Url> repositoryURL(const platform::Url& url) {
    // A record whose repository names no path counts as no record.
    if (auto session = handOffRecord<DiffToolMetaData>(url)) {
        if (auto repo = linkFreeFileURL(session->repo)) return repo;
    }
    if (auto merge = handOffRecord<MergeToolMetaData>(url)) {
        if (auto repo = linkFreeFileURL(merge->repo)) return repo;
    }
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
    if (auto merge = handOffRecord<MergeToolMetaData>(url)) {
        if (auto file = linkFreeFileURL(merge->fileToMerge)) return file;
    }
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
