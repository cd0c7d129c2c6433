#pragma once
// From a path to the root of the repository that holds it: the nearest
// directory, walking upward, whose `.git` is git's directory or names it.
// Paths here are absolute path texts without a trailing separator.

#include <optional>
#include <string>

#include "cli/HasRepoParam.hpp"
#include "platform/Error.hpp"

namespace varn {

/// The root of the repository at or above `repo` (the current directory
/// when absent), absolute and link-free; `repositoryNotFoundError` for the
/// absolute, link-free starting point when there is none.
platform::Result<std::string> resolveRepository(const std::optional<std::string>& repo);

template <HasRepoParam C>
platform::Result<std::string> resolveRepository(const C& command) {
    return resolveRepository(command.repo);
}

/// `path` standardised ("~" expanded), made absolute against the current
/// directory, and with every symbolic link resolved; an error only when
/// the current directory is needed and cannot be read.
platform::Result<std::string> absoluteFileURL(const std::string& path);

/// The repository root at or above the absolute `path`, link-free; nothing
/// when the walk reaches "/" first ("/" itself is never a root).
std::optional<std::string> findRepositoryRoot(const std::string& path);

/// The repository whose work tree holds the absolute `path` as an entry, as git names
/// the files it hands a merge or diff tool: the search begins at the
/// directory holding `path`, so a `path` that is itself the top of a nested
/// repository (a submodule's directory) belongs to the enclosing one.
std::optional<std::string> findRepositoryHolding(const std::string& path);

/// `path` is a directory holding a `.git` directory, or a `.git` file whose
/// first line is "gitdir: " and the path of an existing directory (linked
/// worktrees, submodules, separate git directories). A `.git` file that says
/// anything else, or names a directory no longer there, does not count.
bool isRepositoryRoot(const std::string& path);

}  // namespace varn
