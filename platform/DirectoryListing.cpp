#include "platform/DirectoryListing.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

namespace platform {

Result<std::vector<DirectoryEntry>> directoryEntries(FileDescriptor directory, const std::string& path) {
    auto failure = [&](int err) { return Error::posix(err, "Cannot read directory " + path, path); };
    DIR* listing = ::fdopendir(directory.get());
    if (!listing) return failure(errno);
    int fd = directory.release();  // closed with the listing
    // A duplicated descriptor shares its offset with the original: listed
    // before, it would read on from the end and find nothing new.
    ::rewinddir(listing);
    std::vector<DirectoryEntry> entries;
    while (true) {
        // Only a readdir that sets errno has failed; the end leaves it alone.
        errno = 0;
        auto entry = ::readdir(listing);
        if (!entry) break;
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat s;
            isDirectory = ::fstatat(fd, entry->d_name, &s, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(s.st_mode);
        }
        entries.push_back({std::string(name), entry->d_ino, isDirectory});
    }
    int err = errno;
    ::closedir(listing);
    if (err) return failure(err);
    return entries;
}

namespace {

/// Appends what `directory` holds to `found`, each name after `prefix`.
Result<void> collect(const std::string& directory, const std::string& prefix, std::vector<std::string>& found) {
    FileDescriptor opened(openRetrying(AT_FDCWD, directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!opened) return Error::posix(errno, "Cannot read directory " + directory, directory);
    auto entries = directoryEntries(std::move(opened), directory);
    if (!entries) return std::move(entries).error();
    for (const auto& entry : *entries) {
        if (!entry.isDirectory) {
            found.push_back(prefix + entry.name);
        } else if (auto below = collect(directory + "/" + entry.name, prefix + entry.name + "/", found); !below) {
            return below;
        }
    }
    return {};
}

}  // namespace

Result<std::vector<std::string>> filesBelow(const std::string& directory) {
    std::vector<std::string> found;
    if (auto collected = collect(directory, "", found); !collected) return std::move(collected).error();
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace platform
