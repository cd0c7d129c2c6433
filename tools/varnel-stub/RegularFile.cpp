#include "tools/varnel-stub/RegularFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace varnelstub {
namespace {

/// Closes the descriptor when it leaves scope.
struct Closing {
    int fd;
    ~Closing() { ::close(fd); }
};

}  // namespace

platform::Result<int> openRegularFile(const std::string& path, int flags, const std::string& what) {
    auto notRegular = [&] {
        return platform::Error{"NSPOSIXErrorDomain", EINVAL, what + ": it is not a regular file", path};
    };
    int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0 && errno == ELOOP && (flags & O_NOFOLLOW))
        return platform::Error{"NSPOSIXErrorDomain", ELOOP, what + ": it is a symbolic link", path};
    // What a named pipe without a reader, or a socket, answers a writer.
    if (fd < 0 && errno == ENXIO) return notRegular();
    if (fd < 0) return platform::Error::posix(errno, what, path);
    struct stat s;
    if (::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode)) {
        ::close(fd);
        return notRegular();
    }
    return fd;
}

platform::Result<std::string> readRegularFile(const std::string& path) {
    std::string what = "Cannot read file " + path;
    auto fd = openRegularFile(path, O_RDONLY, what);
    if (!fd) return std::move(fd).error();
    Closing closing{*fd};
    std::string contents;
    char buffer[65536];
    while (true) {
        auto n = ::read(*fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return platform::Error::posix(errno, what, path);
        if (n == 0) return contents;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
}

platform::Result<void> rewriteRegularFile(const std::string& path, std::string_view contents) {
    std::string what = "Cannot write file " + path;
    auto fd = openRegularFile(path, O_WRONLY | O_NOFOLLOW, what);
    if (!fd) return std::move(fd).error();
    int err = ::ftruncate(*fd, 0) == 0 ? 0 : errno;
    while (!err && !contents.empty()) {
        auto n = ::write(*fd, contents.data(), contents.size());
        if (n >= 0) contents.remove_prefix(static_cast<std::size_t>(n));
        else if (errno != EINTR) err = errno;
    }
    if (::close(*fd) != 0 && !err) err = errno;
    if (err) return platform::Error::posix(err, what, path);
    return {};
}

}  // namespace varnelstub
