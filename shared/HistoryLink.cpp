#include "shared/HistoryLink.hpp"

#include "shared/UniversalLinks.hpp"

namespace VarnShared {

std::optional<platform::Url> historyLink(std::string_view subject, std::string_view repo) {
    return subjectLink(LinkKind::history, subject, repo);
}

std::optional<platform::Url> historyLink(std::string_view subject, const platform::Url& repo) {
    auto path = repo.path();
    if (!path) return std::nullopt;
    return historyLink(subject, *path);
}

std::optional<platform::Url> historyLink(const HistoryMetaData& record) {
    auto repo = platform::fileURL(record.repo);
    if (!repo) return std::nullopt;
    return historyLink(record.historyFile, *repo);
}

std::optional<HistoryLink> parseHistoryLink(const platform::Url& url) {
    auto parsed = parseSubjectLink(url, LinkKind::history);
    if (!parsed) return std::nullopt;
    return HistoryLink{std::move(parsed->subject), std::move(parsed->repo)};
}

}  // namespace VarnShared
