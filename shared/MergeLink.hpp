#pragma once
// The merge link: the file to merge and its repository.

#include <optional>
#include <string_view>

#include "platform/Url.hpp"
#include "shared/MergeToolMetaData.hpp"

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

/// The link for the record's `fileToMerge`, with its repository made an
/// absolute path without a trailing "/".
std::optional<platform::Url> mergeLink(const MergeToolMetaData& record);
/// The link of the merge hand-off in the directory of the file URL `url`;
/// nothing when its record is missing or cannot be read.
std::optional<platform::Url> mergeLinkForDirectory(const platform::Url& url);

/// The request of a merge link; nothing for anything else and for a link
/// without a "repo" value. A relative "repo" is taken against the current
/// directory.
std::optional<MergeLink> parseMergeLink(const platform::Url& url);

}  // namespace VarnShared
