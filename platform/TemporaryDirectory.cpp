#include "platform/TemporaryDirectory.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"

namespace platform {

TemporaryDirectoryEnvironment TemporaryDirectoryEnvironment::current() {
    TemporaryDirectoryEnvironment environment;
    if (const char* tmpdir = std::getenv("TMPDIR")) environment.tmpdir = tmpdir;
    environment.system = systemTemporaryDirectory();
    return environment;
}

namespace {

/// Whether a directory is named: an empty text names none.
bool named(const std::optional<std::string>& directory) { return directory && !directory->empty(); }

}  // namespace

std::string temporaryDirectoryPath(const TemporaryDirectoryEnvironment& environment) {
    if (named(environment.system)) return *environment.system;
    // Made absolute: records name the hand-off directory for another process.
    if (named(environment.tmpdir)) {
        const std::string& tmpdir = *environment.tmpdir;
        if (tmpdir.front() == '/') return withTrailingSlash(tmpdir);
        auto absolute = absolutePath(tmpdir);
        // Without a current directory the text stays relative, which
        // `ensureTemporaryDirectory` refuses.
        return withTrailingSlash(absolute ? *absolute : tmpdir);
    }
    return withTrailingSlash(environment.fallbackParent) + "varnel-" + std::to_string(::geteuid()) + "/";
}

Result<std::string> ensureTemporaryDirectory(const TemporaryDirectoryEnvironment& environment) {
    std::string path = temporaryDirectoryPath(environment);
    if (path.front() != '/') {
        auto current = currentDirectoryPath();
        return current ? Error::posix(ENOENT, "Cannot read the current directory") : std::move(current).error();
    }
    if (!named(environment.system) && !named(environment.tmpdir)) {
        auto created = createPrivateDirectoryIn(AT_FDCWD, path.substr(0, path.size() - 1), path);
        if (!created && created.error().code != EEXIST) return std::move(created).error();
    }
    if (auto checked = checkTemporaryDirectory(path); !checked) return checked.error();
    return path;
}

namespace {

/// The directory itself, not what a link at its name leads to, when it is
/// a real directory; otherwise the error of `what`.
Result<struct stat> realDirectory(const std::string& path, const std::string& what) {
    // lstat of "link/" would follow the link: look at the name itself.
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    struct stat s;
    if (::lstat(name.c_str(), &s) != 0) return Error::posix(errno, what, path);
    if (S_ISLNK(s.st_mode)) return Error{"NSPOSIXErrorDomain", ELOOP, what + ": it is a symbolic link", path};
    if (!S_ISDIR(s.st_mode)) return Error{"NSPOSIXErrorDomain", ENOTDIR, what + ": it is not a directory", path};
    return s;
}

std::string modeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

/// Succeeds when nobody but the user and root can remove or rename what
/// the directory `ancestor`, which lies above T, holds.
Result<void> checkAncestor(const std::string& ancestor, const struct stat& s, const std::string& what,
                           const std::string& path) {
    if (s.st_uid != 0 && s.st_uid != ::geteuid()) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": the directory " + ancestor + " above it is owned by another user (uid " +
                         std::to_string(s.st_uid) + ")",
                     path};
    }
    if ((s.st_mode & (S_IWGRP | S_IWOTH)) && !(s.st_mode & S_ISVTX)) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": other users can write in the directory " + ancestor + " above it (mode " +
                         modeText(s.st_mode) + ")",
                     path};
    }
    return {};
}

/// Every directory above T, up to "/", along the path as written and along
/// the path its links lead to: whoever may replace any of them may move T
/// away after a hand-off and put a forged request in its place.
Result<void> checkAncestors(const std::string& path, const std::string& what) {
    std::set<std::pair<dev_t, ino_t>> checked;
    for (const auto& start : {path, resolvingSymlinksInPath(path)}) {
        auto ancestor = start;
        do {
            ancestor = deletingLastPathComponent(ancestor);
            struct stat s;
            if (::stat(ancestor.c_str(), &s) != 0)
                return Error::posix(errno, what + ": cannot examine " + ancestor, path);
            if (!checked.insert({s.st_dev, s.st_ino}).second) continue;
            if (auto safe = checkAncestor(ancestor, s, what, path); !safe) return safe;
        } while (ancestor != "/");
    }
    return {};
}

}  // namespace

Result<void> checkTemporaryDirectory(const std::string& path) {
    std::string what = "Refusing to use the temporary directory " + path;
    auto s = realDirectory(path, what);
    if (!s) return std::move(s).error();
    // A shared directory like /tmp (root's, sticky) is as safe a parent as
    // one of our own: nobody else can remove or replace what we create in it.
    bool sticky = s->st_mode & S_ISVTX;
    if (s->st_uid == 0 && sticky) return checkAncestors(path, what);
    if (s->st_uid != ::geteuid()) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": it is owned by another user (uid " + std::to_string(s->st_uid) + ")", path};
    }
    // Without the sticky bit, whoever may write in it may also rename or
    // replace what we create there.
    if ((s->st_mode & (S_IWGRP | S_IWOTH)) && !sticky) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": other users can write in it (mode " + modeText(s->st_mode) + ")", path};
    }
    return checkAncestors(path, what);
}

Result<void> checkOwnedDirectory(const std::string& path, std::string_view role) {
    std::string what = "Refusing to use the " + std::string(role) + " " + path;
    auto s = realDirectory(path, what);
    if (!s) return std::move(s).error();
    if (s->st_uid != ::geteuid()) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": it is owned by another user (uid " + std::to_string(s->st_uid) + ")", path};
    }
    if (s->st_mode & (S_IRWXG | S_IRWXO)) {
        return Error{"NSPOSIXErrorDomain", EPERM,
                     what + ": other users have access to it (mode " + modeText(s->st_mode) + ")", path};
    }
    return {};
}

}  // namespace platform
