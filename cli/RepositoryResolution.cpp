#include "cli/RepositoryResolution.hpp"

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"

namespace varn {

std::string absoluteFileURL(const std::string& path) {
    return platform::resolvingSymlinksInPath(platform::absolutePath(platform::standardizingPath(path)));
}

std::optional<std::string> findRepositoryRoot(const std::string& path) {
    auto location = path.empty() || path.front() != '/' ? platform::absolutePath(path) : path;
    while (true) {
        auto resolved = platform::resolvingSymlinksInPath(location);
        if (resolved.size() < 2) return std::nullopt;
        if (isRepositoryRoot(resolved)) return resolved;
        // Upward from the location as given, not from its resolution.
        auto parent = platform::deletingLastPathComponent(location);
        if (platform::pathComponents(parent).size() >= platform::pathComponents(location).size()) return std::nullopt;
        location = std::move(parent);
    }
}

bool isRepositoryRoot(const std::string& path) {
    return platform::isDirectory(path) && platform::isDirectory(platform::appendingPathComponent(path, ".git"));
}

}  // namespace varn
