#include "platform/FileSystem.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/DirectoryListing.hpp"
#include "platform/FileDescriptor.hpp"
#include "platform/ReplaceEntry.hpp"
#include "platform/Uuid.hpp"

namespace platform {
namespace {

/// ELOOP from an open with O_NOFOLLOW means the name itself is a link; say so
/// instead of the system's "too many levels".
Error openError(int errnum, const std::string& what, const std::string& path) {
    if (errnum == ELOOP) return Error{"NSPOSIXErrorDomain", errnum, what + ": it is a symbolic link", path};
    return Error::posix(errnum, what, path);
}

/// Writes `contents` to the open file and closes it, reporting either failure.
Result<void> fillAndClose(FileDescriptor& file, std::string_view contents, const std::string& path) {
    if (int err = writeAll(file.get(), contents)) return Error::posix(err, "Cannot write file " + path, path);
    if (int err = file.close()) return Error::posix(err, "Cannot write file " + path, path);
    return {};
}

}  // namespace

Result<void> removeContentsOf(int directoryFd, const std::string& path) {
    // The entries are read first: removing while reading may skip some.
    FileDescriptor listing(::dup(directoryFd));
    if (!listing) return Error::posix(errno, "Cannot remove " + path, path);
    auto entries = directoryEntries(std::move(listing), path);
    if (!entries) return Error::posix(entries.error().code, "Cannot remove " + path, path);

    for (const auto& entry : *entries) {
        const std::string& name = entry.name;
        std::string childPath = path + "/" + name;
        struct stat s;
        if (::fstatat(directoryFd, name.c_str(), &s, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) continue;
            return Error::posix(errno, "Cannot remove " + childPath, childPath);
        }
        if (S_ISDIR(s.st_mode)) {
            FileDescriptor child(openRetrying(directoryFd, name.c_str(),
                                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (child.get() < 0) return Error::posix(errno, "Cannot remove " + childPath, childPath);
            if (auto removed = removeContentsOf(child.get(), childPath); !removed) return removed;
            if (::unlinkat(directoryFd, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
                return Error::posix(errno, "Cannot remove " + childPath, childPath);
        } else if (::unlinkat(directoryFd, name.c_str(), 0) != 0 && errno != ENOENT) {
            return Error::posix(errno, "Cannot remove " + childPath, childPath);
        }
    }
    return {};
}

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

bool isWritable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

Result<FileDescriptor> createPrivateDirectoryIn(int parentFd, const std::string& name, const std::string& path) {
    if (::mkdirat(parentFd, name.c_str(), 0700) != 0)
        return Error::posix(errno, "Cannot create directory " + path, path);
    // Made but unusable, it goes again (only while empty): nothing is left
    // behind by a run that fails.
    auto failure = [&](int err) {
        ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR);
        return Error::posix(err, "Cannot create directory " + path, path);
    };
    FileDescriptor directory(openRetrying(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!directory) return failure(errno);
    // The umask may have taken bits the owner needs; nobody else gets any.
    struct stat s;
    if (::fstat(directory.get(), &s) != 0) return failure(errno);
    if (s.st_uid != ::geteuid()) return failure(EPERM);
    if ((s.st_mode & 07777) != 0700 && ::fchmod(directory.get(), 0700) != 0) return failure(errno);
    return directory;
}

Result<void> createDirectoryWithParents(const std::string& path) {
    if (path.empty()) return Error::posix(ENOENT, "Cannot create a directory with an empty path");
    if (isDirectory(path)) return {};
    // Every prefix that ends a component, then the whole path; doubled
    // separators give empty components, which are skipped.
    std::vector<std::string> prefixes;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/' && path[i - 1] != '/') prefixes.push_back(path.substr(0, i));
    }
    if (path.back() != '/') prefixes.push_back(path);
    for (const auto& prefix : prefixes) {
        auto created = createPrivateDirectoryIn(AT_FDCWD, prefix, path);
        if (created) continue;
        int err = created.error().code;
        if (err == EEXIST && isDirectory(prefix)) continue;
        if (err == EEXIST) err = ENOTDIR;
        std::string what = "Cannot create directory " + path;
        if (prefix != path) what += " (at " + prefix + ")";
        return Error::posix(err, what, path);
    }
    return {};
}

Result<void> writeFileNoFollow(const std::string& path, std::string_view contents) {
    FileDescriptor file(openRetrying(AT_FDCWD, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                                     0666));
    if (file.get() < 0) return openError(errno, "Cannot write file " + path, path);
    return fillAndClose(file, contents, path);
}

Result<void> writeFileAtomicallyIn(int directoryFd, const std::string& name, std::string_view contents,
                                   const std::string& path) {
    auto slash = name.rfind('/');
    std::string directory = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
    if (last.empty()) return Error::posix(EISDIR, "Cannot write file " + path, path);

    // A fresh name beside the target, created exclusively: nothing else can
    // be there. Readable by the user alone: records name the user's files.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = directory + "." + last + "." + makeUuid().substr(0, 8);
        fd = openRetrying(directoryFd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return openError(errno, "Cannot write file " + path, path);
    FileDescriptor file(fd);
    if (auto filled = fillAndClose(file, contents, path); !filled) {
        ::unlinkat(directoryFd, temporary.c_str(), 0);
        return filled;
    }
    if (int err = replaceEntry(directoryFd, temporary.c_str(), name.c_str())) {
        ::unlinkat(directoryFd, temporary.c_str(), 0);
        return Error::posix(err, "Cannot write file " + path, path);
    }
    return {};
}

Result<void> writeFileAtomically(const std::string& path, std::string_view contents) {
    return writeFileAtomicallyIn(AT_FDCWD, path, contents, path);
}

Result<std::string> readFile(const std::string& path) {
    FileDescriptor file(openRetrying(AT_FDCWD, path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return Error::posix(errno, "Cannot read file " + path, path);
    std::string contents;
    // Room for the whole file and the read that finds its end.
    if (struct stat s; ::fstat(file.get(), &s) == 0 && S_ISREG(s.st_mode))
        contents.reserve(static_cast<std::size_t>(s.st_size) + 4096);
    if (int err = readToEnd(file.get(), contents)) return Error::posix(err, "Cannot read file " + path, path);
    return contents;
}

Result<std::optional<std::string>> readSmallFileIn(int directoryFd, const std::string& name, std::size_t limit,
                                                   const std::string& path) {
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    FileDescriptor file(openRetrying(directoryFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (file.get() < 0) {
        int err = errno;
        // The refusal to follow a link, not a failure: said only once the
        // name is seen to be one.
        struct stat s;
        if (err == ELOOP && ::fstatat(directoryFd, name.c_str(), &s, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(s.st_mode))
            return std::optional<std::string>();
        return Error::posix(err, "Cannot read file " + path, path);
    }
    struct stat s;
    if (::fstat(file.get(), &s) != 0) return Error::posix(errno, "Cannot read file " + path, path);
    if (!S_ISREG(s.st_mode) || static_cast<std::uintmax_t>(s.st_size) > limit) return std::optional<std::string>();
    // One byte more than allowed tells a file that grew since fstat.
    std::vector<char> buffer(limit + 1);
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        auto n = ::read(file.get(), buffer.data() + filled, buffer.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Error::posix(errno, "Cannot read file " + path, path);
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > limit) return std::optional<std::string>();
    return std::optional<std::string>(std::in_place, buffer.data(), filled);
}

Result<void> copyFile(const std::string& from, const std::string& to) {
    FileDescriptor source(openRetrying(AT_FDCWD, from.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.get() < 0) return Error::posix(errno, "Cannot copy " + from, from);
    struct stat s;
    if (::fstat(source.get(), &s) != 0) return Error::posix(errno, "Cannot copy " + from, from);
    if (!S_ISREG(s.st_mode))
        return Error{"NSPOSIXErrorDomain", EINVAL, "Cannot copy " + from + ": it is not a regular file", from};
    // The owner's permission bits only: a copy of the user's file is the
    // user's alone, whatever the original let others do.
    FileDescriptor target(openRetrying(AT_FDCWD, to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                       s.st_mode & 0700));
    if (target.get() < 0) return openError(errno, "Cannot copy " + from + " to " + to, to);

    char buffer[65536];
    int err = 0;
    while (!err) {
        auto n = ::read(source.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0) break;
        err = writeAll(target.get(), std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    if (!err) err = target.close();
    if (err) {
        ::unlink(to.c_str());
        return Error::posix(err, "Cannot copy " + from + " to " + to, to);
    }
    return {};
}

Result<void> removeRecursively(const std::string& path) {
    struct stat s;
    if (::lstat(path.c_str(), &s) != 0) return Error::posix(errno, "Cannot remove " + path, path);
    if (!S_ISDIR(s.st_mode)) {
        if (::unlink(path.c_str()) != 0) return Error::posix(errno, "Cannot remove " + path, path);
        return {};
    }
    {
        FileDescriptor directory(openRetrying(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (directory.get() < 0) return Error::posix(errno, "Cannot remove " + path, path);
        if (auto removed = removeContentsOf(directory.get(), path); !removed) return removed;
    }
    if (::rmdir(path.c_str()) != 0) return Error::posix(errno, "Cannot remove " + path, path);
    return {};
}

}  // namespace platform
