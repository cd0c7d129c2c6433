#include "platform/FileDescriptor.hpp"

#include <fcntl.h>

#include <algorithm>

namespace platform {

int openRetrying(int directoryFd, const char* name, int flags, mode_t mode) {
    while (true) {
        int fd = ::openat(directoryFd, name, flags, mode);
        if (fd >= 0 || errno != EINTR) return fd;
    }
}

int writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        auto n = ::write(fd, contents.data(), contents.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        contents.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int readToEnd(int fd, std::string& out) {
    while (true) {
        // Each read fills the room there is; the string grows only when
        // little is left, so the read that finds the end of a file read
        // into a string of its size costs no allocation.
        if (out.capacity() - out.size() < 256) out.reserve(std::max<std::size_t>(2 * out.capacity(), 4096));
        auto used = out.size();
        out.resize(out.capacity());
        auto n = ::read(fd, out.data() + used, out.size() - used);
        int err = errno;
        out.resize(used + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (n < 0) {
            if (err == EINTR) continue;
            return err;
        }
        if (n == 0) return 0;
    }
}

}  // namespace platform
