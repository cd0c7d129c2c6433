#pragma once
// Commands that name a repository with an optional `repo` argument; how
// such a command finds the repository's root is in RepositoryResolution.

#include <concepts>
#include <optional>
#include <string>

namespace varn {

/// A command with `repo`: the repository path as typed (relative, starting
/// with "~", or absent for the current directory).
template <class C>
concept HasRepoParam = requires(const C& command) {
    { command.repo } -> std::convertible_to<const std::optional<std::string>&>;
};

}  // namespace varn
