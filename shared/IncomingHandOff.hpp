#pragma once
// What the application learns from anything it is handed: a universal link,
// the file URL of a hand-off directory, or a "repo" URL naming a repository.

#include <optional>

#include "platform/Url.hpp"

namespace VarnShared {

/// The repository an incoming hand-off concerns, or nothing. The first that
/// applies: the file URL of a difftool or merge hand-off directory with a
/// readable record (its "repo", links resolved), a diff link's subject, a merge or history link's "repo",
/// a URL of the scheme "repo" in any case (its path).
std::optional<platform::Url> repositoryURL(const platform::Url& url);

/// The file an incoming hand-off is about. The first that applies: the file
/// URL of a merge hand-off directory with a readable record (its
/// "fileToMerge", links resolved), a merge or history
/// link's subject (even when its "repo" is missing), a diff link's subject,
/// otherwise the URL's own path. Nothing only for a URL whose path is empty
/// or does not decode.
std::optional<platform::Url> targetFileURL(const platform::Url& url);

}  // namespace VarnShared
