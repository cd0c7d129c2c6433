#include "shared/SessionEntries.hpp"

#include "platform/DirectoryListing.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/Uuid.hpp"
#include "shared/DiffToolFiles.hpp"
#include "shared/SessionDirectory.hpp"

namespace VarnShared {

namespace {

/// `path` is `directory` or lies below it. A sibling whose name merely
/// begins with the directory's name ("/r/repo-old" for "/r/repo") is
/// outside: its files may be temporary and must be preserved.
bool isWithin(const std::string& path, const std::string& directory) {
    if (directory == "/") return true;
    return path.starts_with(directory) && (path.size() == directory.size() || path[directory.size()] == '/');
}

/// `path`, inside `repo`, is one of git's temporary files: it lies in the
/// directory git writes them in (TMPDIR, else /tmp), and that directory
/// lies inside the repository. A repository inside that directory (a
/// scratch repository in /tmp) keeps its files where they are.
bool isGitTemporary(const std::string& path, const std::string& repo) {
    auto variable = platform::environmentValue("TMPDIR");
    std::string directory = variable && !variable->empty() ? *variable : "/tmp";
    auto absolute = platform::absolutePath(directory);
    if (!absolute) return false;
    auto temporary = platform::resolvingSymlinksInPath(*absolute);
    return isWithin(temporary, repo) && isWithin(path, temporary);
}

/// A copy of `path` in the session directory, named after its last
/// component, "-" and a UUID.
platform::Result<std::string> copyIntoSession(const std::string& path, const std::string& directory) {
    std::string copy = directory + "/" + platform::lastPathComponent(path) + "-" + platform::makeUuid();
    if (auto copied = platform::copyFile(path, copy); !copied) return std::move(copied).error();
    return copy;
}

/// What to record for a file of a compared directory, which git removes
/// once the tool ends: the work-tree file a link into the repository
/// names, else a copy.
platform::Result<std::string> preserveComparedFile(const std::string& path, const DifftoolOptions& options,
                                                   const std::string& directory) {
    if (platform::isSymbolicLink(path)) {
        auto target = platform::resolvingSymlinksInPath(path);
        if (isWithin(target, options.repo)) return target;
    }
    return copyIntoSession(path, directory);
}

}  // namespace

platform::Result<std::string> preserveFile(const std::string& path, const DifftoolOptions& options,
                                           const std::string& directory) {
    if (path.empty() || path == "/dev/null") return path;
    auto absolute = platform::absolutePath(path);
    if (!absolute) return std::move(absolute).error();
    auto resolved = platform::resolvingSymlinksInPath(*absolute);
    if (isWithin(resolved, options.repo) && !isGitTemporary(resolved, options.repo)) return path;
    return copyIntoSession(path, directory);
}

platform::Result<DiffToolMetaData::Entry> makeEntry(const DifftoolOptions& options, const std::string& directory) {
    DiffToolMetaData::Entry entry;
    auto preserved = convertDiffToolFiles(entry, options, [&](const std::string& path) {
        return preserveFile(path, options, directory);
    });
    if (!preserved) {
        removeCopies({entry}, directory);
        return std::move(preserved).error();
    }
    return entry;
}

platform::Result<std::vector<DiffToolMetaData::Entry>> makeDirectoryEntries(const DifftoolOptions& options,
                                                                            const std::string& directory) {
    auto left = platform::filesBelow(options.local);
    if (!left) return std::move(left).error();
    auto right = platform::filesBelow(options.remote);
    if (!right) return std::move(right).error();

    std::vector<DiffToolMetaData::Entry> entries;
    // A copy that fails leaves none of this run's copies behind.
    auto failed = [&](platform::Error error) {
        removeCopies(entries, directory);
        return error;
    };
    std::size_t l = 0, r = 0;
    while (l < left->size() || r < right->size()) {
        bool onLeft = r == right->size() || (l < left->size() && (*left)[l] <= (*right)[r]);
        bool onRight = l == left->size() || (r < right->size() && (*right)[r] <= (*left)[l]);
        const std::string& name = onLeft ? (*left)[l] : (*right)[r];
        std::string merged = platform::appendingPathComponent(options.repo, name);
        auto& entry = entries.emplace_back(DiffToolMetaData::Entry{merged, "/dev/null", "/dev/null", merged});
        for (auto [present, side, field] :
             {std::tuple{onLeft, &options.local, &entry.local}, std::tuple{onRight, &options.remote, &entry.remote}}) {
            if (!present) continue;
            auto preserved = preserveComparedFile(platform::appendingPathComponent(*side, name), options, directory);
            if (!preserved) return failed(std::move(preserved).error());
            *field = std::move(*preserved);
        }
        l += onLeft;
        r += onRight;
    }
    return entries;
}

void removeCopies(const std::vector<DiffToolMetaData::Entry>& entries, const std::string& directory) {
    std::string prefix = directory + "/";
    for (const auto& entry : entries)
        for (const auto& file : diffToolFiles<DiffToolMetaData::Entry>)
            if (const auto& path = entry.*file.path;
                path.starts_with(prefix) && path.find('/', prefix.size()) == std::string::npos)
                (void)platform::removeRecursively(path);
}

platform::Result<std::vector<DiffToolMetaData::Entry>> makeEntries(const DifftoolOptions& options,
                                                                   const std::string& directory) {
    if (platform::isDirectory(options.local) && platform::isDirectory(options.remote))
        return makeDirectoryEntries(options, directory);
    auto entry = makeEntry(options, directory);
    if (!entry) return std::move(entry).error();
    return std::vector{std::move(*entry)};
}

platform::Result<DiffToolMetaData> makeSession(const DifftoolOptions& options) {
    DiffToolMetaData record;
    static_cast<DiffToolSession&>(record) = options;
    return adding(std::move(record), options);
}

platform::Result<DiffToolMetaData> adding(DiffToolMetaData record, const DifftoolOptions& options) {
    auto directory = ensureSessionDirectory(options);
    if (!directory) return std::move(directory).error();
    auto entries = makeEntries(options, *directory);
    if (!entries) return std::move(entries).error();
    for (auto& entry : *entries) record.entries.push_back(std::move(entry));
    return record;
}

}  // namespace VarnShared
