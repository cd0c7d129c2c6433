#pragma once
// From a path to the root of the repository that holds it: the nearest
// directory, walking upward, that holds a `.git` directory. Paths here are
// absolute path texts without a trailing separator.

#include <optional>
#include <string>

namespace varn {

/// `path` standardised ("~" expanded), made absolute against the current
/// directory, and with every symbolic link resolved.
std::string absoluteFileURL(const std::string& path);

/// The repository root at or above `path`, link-free; nothing when the
/// walk reaches "/" first ("/" itself is never a root). A relative `path`
/// counts from the current directory.
std::optional<std::string> findRepositoryRoot(const std::string& path);

/// `path` is a directory holding a `.git` directory. A `.git` file, as in
/// linked worktrees and submodules, does not count.
bool isRepositoryRoot(const std::string& path);

}  // namespace varn
