#include "platform/FileSystem.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {

bool fileExists(const std::string& path) {
    struct stat s;
    return ::stat(path.c_str(), &s) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat s;
    return ::stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

bool isSymbolicLink(const std::string& path) {
    struct stat s;
    return ::lstat(path.c_str(), &s) == 0 && S_ISLNK(s.st_mode);
}

std::optional<std::string> destinationOfSymbolicLink(const std::string& path) {
    struct stat s;
    if (::lstat(path.c_str(), &s) != 0 || !S_ISLNK(s.st_mode)) return std::nullopt;
    std::vector<char> buffer(static_cast<std::size_t>(s.st_size > 0 ? s.st_size : 255) + 1);
    while (true) {
        auto n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) return std::nullopt;
        if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace platform
