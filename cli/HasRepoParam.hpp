#pragma once
// Commands that name a repository with an optional `repo` argument, and
// how such a command finds the repository's root.

#include <concepts>
#include <optional>
#include <string>

#include "platform/Error.hpp"

namespace varn {

/// A command with `repo`: the repository path as typed (relative, starting
/// with "~", or absent for the current directory).
template <class C>
concept HasRepoParam = requires(const C& command) {
    { command.repo } -> std::convertible_to<const std::optional<std::string>&>;
};

/// The root of the repository at or above `repo` (the current directory
/// when absent), absolute and link-free; `repositoryNotFoundError` for the
/// absolute, link-free starting point when there is none.
platform::Result<std::string> resolveRepository(const std::optional<std::string>& repo);

template <HasRepoParam C>
platform::Result<std::string> resolveRepository(const C& command) {
    return resolveRepository(command.repo);
}

}  // namespace varn
