#include "tools/varnel-stub/RegularFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace varnelstub {

platform::Result<platform::FileDescriptor> openRegularFile(const std::string& path, int flags,
                                                           const std::string& what) {
    auto notRegular = [&] {
        return platform::Error{"NSPOSIXErrorDomain", EINVAL, what + ": it is not a regular file", path};
    };
    platform::FileDescriptor file(platform::openRetrying(AT_FDCWD, path.c_str(),
                                                         flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (!file && errno == ELOOP && (flags & O_NOFOLLOW))
        return platform::Error{"NSPOSIXErrorDomain", ELOOP, what + ": it is a symbolic link", path};
    // What a named pipe without a reader, or a socket, answers a writer.
    if (!file && errno == ENXIO) return notRegular();
    if (!file) return platform::Error::posix(errno, what, path);
    struct stat s;
    if (::fstat(file.get(), &s) != 0 || !S_ISREG(s.st_mode)) return notRegular();
    return file;
}

platform::Result<std::string> readRegularFile(const std::string& path) {
    std::string what = "Cannot read file " + path;
    auto file = openRegularFile(path, O_RDONLY, what);
    if (!file) return std::move(file).error();
    std::string contents;
    if (int err = platform::readToEnd(file->get(), contents)) return platform::Error::posix(err, what, path);
    return contents;
}

platform::Result<void> rewriteRegularFile(const std::string& path, std::string_view contents) {
    std::string what = "Cannot write file " + path;
    auto file = openRegularFile(path, O_WRONLY | O_NOFOLLOW, what);
    if (!file) return std::move(file).error();
    int err = ::ftruncate(file->get(), 0) == 0 ? 0 : errno;
    if (!err) err = platform::writeAll(file->get(), contents);
    if (int closed = file->close(); closed && !err) err = closed;
    if (err) return platform::Error::posix(err, what, path);
    return {};
}

}  // namespace varnelstub
