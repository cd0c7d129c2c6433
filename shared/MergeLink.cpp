#include "shared/MergeLink.hpp"

#include "shared/UniversalLinks.hpp"

namespace VarnShared {

std::optional<platform::Url> mergeLink(std::string_view subject, std::string_view repo) {
    return subjectLink(LinkKind::merge, subject, repo);
}

std::optional<platform::Url> mergeLink(std::string_view subject, const platform::Url& repo) {
    auto path = repo.path();
    if (!path) return std::nullopt;
    return mergeLink(subject, *path);
}

std::optional<platform::Url> mergeLink(const MergeToolMetaData& record) {
    auto repo = platform::fileURL(record.repo);
    if (!repo) return std::nullopt;
    return mergeLink(record.fileToMerge, *repo);
}

std::optional<platform::Url> mergeLinkForDirectory(const platform::Url& url) {
    auto directory = url.filePath();
    if (!directory) return std::nullopt;
    auto record = MergeToolMetaData::readMetadata(*directory);
    if (!record) return std::nullopt;
    return mergeLink(*record);
}

std::optional<MergeLink> parseMergeLink(const platform::Url& url) {
    auto parsed = parseSubjectLink(url, LinkKind::merge);
    if (!parsed) return std::nullopt;
    return MergeLink{std::move(parsed->subject), std::move(parsed->repo)};
}

}  // namespace VarnShared
