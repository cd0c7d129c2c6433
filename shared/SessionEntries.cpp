#include "shared/SessionEntries.hpp"

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/Uuid.hpp"
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

}  // namespace

platform::Result<std::string> preserveFile(const std::string& path, const DifftoolOptions& options) {
    if (path.empty() || path == "/dev/null") return path;
    if (isWithin(platform::resolvingSymlinksInPath(platform::absolutePath(path)), options.repo)) return path;
    auto directory = ensureSessionDirectory(options);
    if (!directory) return std::move(directory).error();
    std::string copy = *directory + "/" + platform::lastPathComponent(path) + "-" + platform::makeUuid();
    if (auto copied = platform::copyFile(path, copy); !copied) return std::move(copied).error();
    return copy;
}

platform::Result<DiffToolMetaData::Entry> makeEntry(const DifftoolOptions& options) {
    DiffToolMetaData::Entry entry;
    for (auto [from, to] : {std::pair{&options.base, &entry.base}, std::pair{&options.local, &entry.local},
                            std::pair{&options.remote, &entry.remote}, std::pair{&options.merged, &entry.merged}}) {
        auto preserved = preserveFile(*from, options);
        if (!preserved) return std::move(preserved).error();
        *to = std::move(*preserved);
    }
    return entry;
}

platform::Result<DiffToolMetaData> makeSession(const DifftoolOptions& options) {
    auto entry = makeEntry(options);
    if (!entry) return std::move(entry).error();
    DiffToolMetaData record;
    static_cast<DiffToolSession&>(record) = options;
    record.entries.push_back(std::move(*entry));
    return record;
}

platform::Result<DiffToolMetaData> adding(DiffToolMetaData record, const DifftoolOptions& options) {
    auto entry = makeEntry(options);
    if (!entry) return std::move(entry).error();
    record.entries.push_back(std::move(*entry));
    return record;
}

}  // namespace VarnShared
