#include "shared/HistoryLink.hpp"

#include "shared/UniversalLinks.hpp"

namespace VarnShared {

std::optional<platform::Url> historyLink(std::string_view subject, std::string_view repo) {
    return subjectLink(LinkKind::history, subject, repo);
}

std::optional<platform::Url> historyLink(std::string_view subject, const platform::Url& repo) {
    return subjectLink(LinkKind::history, subject, repo);
}

std::optional<platform::Url> historyLink(const HistoryMetaData& record) {
    return subjectLinkInRepository(LinkKind::history, record.historyFile, record.repo);
}

std::optional<HistoryLink> parseHistoryLink(const platform::Url& url) {
    auto parsed = parseSubjectLink(url, LinkKind::history);
    if (!parsed) return std::nullopt;
    return HistoryLink{std::move(parsed->subject), std::move(parsed->repo)};
}

}  // namespace VarnShared
