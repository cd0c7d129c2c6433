#pragma once
// The merge link: the file to merge and its repository.

#include <optional>
#include <string_view>

#include "platform/Url.hpp"

namespace VarnShared {

/// The request a merge link carries, as file URLs.
struct MergeLink {
    platform::Url merge;
    platform::Url repo;
};

/// The link for `subject` with the one item "repo"; nothing when no URL forms.
std::optional<platform::Url> mergeLink(std::string_view subject, std::string_view repo);
/// As above with the path of the file URL `repo`.
std::optional<platform::Url> mergeLink(std::string_view subject, const platform::Url& repo);

/// The request of a merge link; nothing for anything else and for a link
/// without a "repo" value. A relative "repo" is taken against the current
/// directory.
std::optional<MergeLink> parseMergeLink(const platform::Url& url);

}  // namespace VarnShared
