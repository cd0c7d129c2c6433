#pragma once
// The history link: the file whose history is wanted and its repository.

#include <optional>
#include <string_view>

#include "platform/Url.hpp"
#include "shared/HistoryMetaData.hpp"

namespace VarnShared {

/// The request a history link carries, as file URLs.
struct HistoryLink {
    platform::Url history;
    platform::Url repo;
};

/// The link for `subject` with the one item "repo"; nothing when no URL forms.
std::optional<platform::Url> historyLink(std::string_view subject, std::string_view repo);
/// As above with the path of the file URL `repo`.
std::optional<platform::Url> historyLink(std::string_view subject, const platform::Url& repo);

/// The link for the record's `historyFile`, with its repository made an
/// absolute path without a trailing "/".
std::optional<platform::Url> historyLink(const HistoryMetaData& record);

/// The request of a history link; nothing for anything else and for a link
/// without a "repo" value. A relative "repo" is taken against the current
/// directory.
std::optional<HistoryLink> parseHistoryLink(const platform::Url& url);

}  // namespace VarnShared
