#include "cli/RepositoryResolution.hpp"

#include <fcntl.h>

#include <string_view>

#include "cli/ToolErrors.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"

namespace varn {
namespace {

// git writes one line naming a path: this leaves room for far longer paths
// than the system can open.
constexpr std::size_t maximumGitFileSize = std::size_t{16} * 1024;

/// The `.git` file at `gitFile`, in the directory `directory`, names an
/// existing git directory, as git writes for a linked worktree, a submodule
/// or a separate git directory: "gitdir: " and a path, absolute or relative
/// to `directory`. Only a small regular file is read: a pipe or a device is
/// refused without waiting.
bool namesGitDirectory(const std::string& directory, const std::string& gitFile) {
    auto text = platform::readSmallFileIn(AT_FDCWD, gitFile, maximumGitFileSize, gitFile);
    if (!text || !*text) return false;
    constexpr std::string_view prefix = "gitdir: ";
    std::string_view line = **text;
    line = line.substr(0, line.find('\n'));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.starts_with(prefix) || line.size() == prefix.size()) return false;
    std::string named(line.substr(prefix.size()));
    return platform::isDirectory(named.front() == '/' ? named : directory + "/" + named);
}

}  // namespace

platform::Result<std::string> resolveRepository(const std::optional<std::string>& repo) {
    auto start = absoluteFileURL(repo.value_or("."));
    if (!start) return std::move(start).error();
    if (auto root = findRepositoryRoot(*start)) return *root;
    return repositoryNotFoundError(*start);
}

platform::Result<std::string> absoluteFileURL(const std::string& path) {
    auto absolute = platform::absolutePath(platform::standardizingPath(path));
    if (!absolute) return std::move(absolute).error();
    return platform::resolvingSymlinksInPath(*absolute);
}

std::optional<std::string> findRepositoryRoot(const std::string& path) {
    // Upward from the location as given, each candidate link-free.
    std::optional<std::string> root;
    platform::visitResolvedAncestors(path, [&](const std::string& candidate) {
        if (candidate.size() < 2) return false;
        if (isRepositoryRoot(candidate)) root = candidate;
        return !root;
    });
    return root;
}

std::optional<std::string> findRepositoryHolding(const std::string& path) {
    return findRepositoryRoot(platform::deletingLastPathComponent(path));
}

bool isRepositoryRoot(const std::string& path) {
    if (!platform::isDirectory(path)) return false;
    auto git = platform::appendingPathComponent(path, ".git");
    return platform::isDirectory(git) || namesGitDirectory(path, git);
}

}  // namespace varn
