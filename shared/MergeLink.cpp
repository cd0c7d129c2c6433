#include "shared/MergeLink.hpp"

#include "shared/UniversalLinks.hpp"

namespace VarnShared {

std::optional<platform::Url> mergeLink(std::string_view subject, std::string_view repo) {
    return subjectLink(LinkKind::merge, subject, repo);
}

std::optional<platform::Url> mergeLink(std::string_view subject, const platform::Url& repo) {
    return subjectLink(LinkKind::merge, subject, repo);
}

std::optional<platform::Url> mergeLink(const MergeToolMetaData& record) {
    return subjectLinkInRepository(LinkKind::merge, record.fileToMerge, record.repo);
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
