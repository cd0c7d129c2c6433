#include "platform/HeldDirectory.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DirectoryListing.hpp"
#include "platform/FileSystem.hpp"

namespace platform {

Result<HeldDirectory> HeldDirectory::create(const std::string& path) {
    auto failure = [&](int err) { return Error::posix(err, "Cannot create directory " + path, path); };
    auto slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 == path.size()) return failure(EINVAL);
    std::string parentPath = path.substr(0, slash);
    while (parentPath.size() > 1 && parentPath.back() == '/') parentPath.pop_back();
    if (parentPath.empty()) parentPath = "/";
    std::string name = path.substr(slash + 1);

    FileDescriptor parent(openRetrying(AT_FDCWD, parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!parent) return failure(errno);
    auto directory = createPrivateDirectoryIn(parent.get(), name, path);
    if (!directory) return std::move(directory).error();
    struct stat s;
    if (::fstat(directory->get(), &s) != 0) {
        int err = errno;
        ::unlinkat(parent.get(), name.c_str(), AT_REMOVEDIR);
        return failure(err);
    }
    HeldDirectory held(path, std::move(name), std::move(parent), std::move(*directory));
    held.device_ = s.st_dev;
    held.inode_ = s.st_ino;
    return held;
}

HeldDirectory::HeldDirectory(std::string path, std::string name, FileDescriptor parent, FileDescriptor directory)
    : path_(std::move(path)), name_(std::move(name)), parent_(std::move(parent)), directory_(std::move(directory)) {}

namespace {

/// Whether the `stat` call that returned `result` found something: a
/// missing name says no, any other failure is an error about `path`.
Result<bool> found(int result, const std::string& path) {
    if (result == 0) return true;
    if (errno == ENOENT || errno == ENOTDIR) return false;
    return Error::posix(errno, "Cannot examine " + path, path);
}

}  // namespace

Result<bool> HeldDirectory::isAtItsPath() const {
    struct stat s;
    auto there = found(::lstat(path_.c_str(), &s), path_);
    if (!there || !*there) return there;
    return S_ISDIR(s.st_mode) && s.st_dev == device_ && s.st_ino == inode_;
}

bool HeldDirectory::isNamed(const std::string& name) const {
    struct stat s;
    return ::fstatat(parent_.get(), name.c_str(), &s, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(s.st_mode) &&
           s.st_dev == device_ && s.st_ino == inode_;
}

std::optional<std::string> HeldDirectory::nameInParent() const {
    if (isNamed(name_)) return name_;
    // Renamed: looked for among the parent's entries, by identity.
    FileDescriptor listing(openRetrying(parent_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listing) return std::nullopt;
    auto entries = directoryEntries(std::move(listing), path_);
    if (!entries) return std::nullopt;
    for (const auto& entry : *entries)
        if (entry.inode == inode_ && isNamed(entry.name)) return entry.name;
    return std::nullopt;
}

Result<bool> HeldDirectory::contains(const std::string& name) const {
    struct stat s;
    return found(::fstatat(descriptor(), name.c_str(), &s, AT_SYMLINK_NOFOLLOW), path_ + "/" + name);
}

Result<void> HeldDirectory::writeFileAtomically(const std::string& name, std::string_view contents) const {
    return writeFileAtomicallyIn(descriptor(), name, contents, path_ + "/" + name);
}

Result<std::optional<std::string>> HeldDirectory::readSmallFile(const std::string& name, std::size_t limit) const {
    return readSmallFileIn(descriptor(), name, limit, path_ + "/" + name);
}

Result<void> HeldDirectory::remove() const {
    auto name = nameInParent();
    if (!name) return Error{"NSPOSIXErrorDomain", ENOENT, "Cannot remove " + path_ + ": it is no longer there", path_};
    // The application may still be writing into it (a late verdict): what
    // it adds while the contents go is removed on another pass.
    for (int pass = 0;; ++pass) {
        if (auto emptied = removeContentsOf(descriptor(), path_); !emptied) return emptied;
        if (::unlinkat(parent_.get(), name->c_str(), AT_REMOVEDIR) == 0) return {};
        if ((errno != ENOTEMPTY && errno != EEXIST) || pass == 3)
            return Error::posix(errno, "Cannot remove " + path_, path_);
    }
}

}  // namespace platform
