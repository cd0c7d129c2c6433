#include "platform/TemporaryDirectory.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

std::string withTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

#if defined(__APPLE__)
std::string platformTemporaryDirectory() {
    // The per-user directory below /var/folders, as the platform hands it out.
    std::size_t size = ::confstr(_CS_DARWIN_USER_TEMP_DIR, nullptr, 0);
    if (size > 0) {
        std::vector<char> buffer(size);
        if (::confstr(_CS_DARWIN_USER_TEMP_DIR, buffer.data(), buffer.size()) > 0) return buffer.data();
    }
    const char* tmpdir = std::getenv("TMPDIR");
    return withTrailingSlash(tmpdir && *tmpdir ? tmpdir : "/tmp");
}
#endif

std::string fallbackDirectory(const TemporaryDirectoryEnvironment& environment) {
    return withTrailingSlash(environment.fallbackParent) + "varnel-" + std::to_string(::geteuid()) + "/";
}

bool isSymbolicLinkName(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat s;
    return ::lstat(path.c_str(), &s) == 0 && S_ISLNK(s.st_mode);
}

}  // namespace

TemporaryDirectoryEnvironment TemporaryDirectoryEnvironment::current() {
    TemporaryDirectoryEnvironment environment;
    if (const char* tmpdir = std::getenv("TMPDIR")) environment.tmpdir = tmpdir;
    return environment;
}

std::string temporaryDirectoryPath([[maybe_unused]] const TemporaryDirectoryEnvironment& environment) {
#if defined(__APPLE__)
    return platformTemporaryDirectory();
#else
    if (environment.tmpdir && !environment.tmpdir->empty()) return withTrailingSlash(*environment.tmpdir);
    return fallbackDirectory(environment);
#endif
}

Result<std::string> ensureTemporaryDirectory(const TemporaryDirectoryEnvironment& environment) {
    std::string path = temporaryDirectoryPath(environment);
#if !defined(__APPLE__)
    if (!environment.tmpdir || environment.tmpdir->empty()) {
        std::string directory = path.substr(0, path.size() - 1);
        if (::mkdir(directory.c_str(), 0700) == 0) {
            // The umask may have taken bits the owner needs.
            if (::chmod(directory.c_str(), 0700) != 0)
                return Error::posix(errno, "Cannot create the temporary directory " + path, path);
        } else if (errno != EEXIST) {
            return Error::posix(errno, "Cannot create the temporary directory " + path, path);
        }
    }
#endif
    // A shared directory like /tmp (root's, sticky) is as safe a parent as
    // one of our own: nobody else can remove or replace what we create in it.
    struct stat s;
    if (::stat(path.c_str(), &s) == 0 && !isSymbolicLinkName(path) && S_ISDIR(s.st_mode) && s.st_uid == 0 &&
        (s.st_mode & S_ISVTX))
        return path;
    if (auto checked = checkOwnedDirectory(path, "temporary directory"); !checked) return checked.error();
    return path;
}

Result<void> checkOwnedDirectory(const std::string& path, std::string_view role) {
    // lstat of "link/" would follow the link: look at the name itself.
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    std::string what = "Refusing to use the " + std::string(role) + " " + path;
    struct stat s;
    if (::lstat(name.c_str(), &s) != 0) return Error::posix(errno, what, path);
    if (S_ISLNK(s.st_mode)) return Error{"NSPOSIXErrorDomain", ELOOP, what + ": it is a symbolic link", path};
    if (!S_ISDIR(s.st_mode)) return Error{"NSPOSIXErrorDomain", ENOTDIR, what + ": it is not a directory", path};
    if (s.st_uid != ::geteuid()) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": it is owned by another user (uid " + std::to_string(s.st_uid) + ")", path};
    }
    return {};
}

}  // namespace platform
