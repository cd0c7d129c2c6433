#include "platform/DirectoryListing.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace platform {

namespace {

/// Appends what `directory` holds to `found`, each name after `prefix`.
Result<void> collect(const std::string& directory, const std::string& prefix, std::vector<std::string>& found) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) return Error::posix(errno, "Cannot read directory " + directory, directory);
    std::vector<std::string> subdirectories;
    errno = 0;
    while (auto entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat s;
            isDirectory = ::lstat((directory + "/" + name).c_str(), &s) == 0 && S_ISDIR(s.st_mode);
        }
        if (isDirectory) {
            subdirectories.push_back(std::move(name));
        } else {
            found.push_back(prefix + name);
        }
    }
    int err = errno;
    ::closedir(dir);
    if (err) return Error::posix(err, "Cannot read directory " + directory, directory);
    for (const auto& name : subdirectories)
        if (auto below = collect(directory + "/" + name, prefix + name + "/", found); !below) return below;
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
