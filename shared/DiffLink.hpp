#pragma once
// The diff link: a repository, up to two revisions and the paths to compare.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Url.hpp"

namespace VarnShared {

/// The request a diff link carries.
struct DiffLink {
    platform::Url repo;
    std::optional<std::string> revspecA;
    std::optional<std::string> revspecB;
    std::vector<std::string> paths;
};

/// The link for `repo` with the items "revspecA", "revspecB" (written as the
/// name alone when absent) and "path_0", "path_1", ... in order; nothing when
/// no URL forms.
std::optional<platform::Url> diffLink(std::string_view repo, const std::optional<std::string>& revspecA,
                                      const std::optional<std::string>& revspecB,
                                      const std::vector<std::string>& paths);

/// The request of a diff link; nothing for anything else. Paths are taken
/// from "path_0" upward until the first missing index.
std::optional<DiffLink> parseDiffLink(const platform::Url& url);

}  // namespace VarnShared
