#pragma once
// A descriptor that closes itself when it goes out of scope, unless it was
// released or closed first; and reading or writing all there is through
// one.

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            (void)close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { (void)close(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    /// Gives the descriptor up without closing it.
    int release() { return std::exchange(fd_, -1); }
    /// Closes now, returning the errno of a failed close or 0. A close that
    /// a signal interrupts has still released the descriptor (it must not
    /// be closed again), and the data written reached the system: it is
    /// no failure.
    int close() {
        int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int fd_ = -1;
};

/// `openat`, tried again while a signal interrupts it (as opening a named
/// pipe or a file on a network file system may be).
int openRetrying(int directoryFd, const char* name, int flags, mode_t mode = 0);

/// Writes all of `contents` to `fd`; 0, or the errno of the failure.
int writeAll(int fd, std::string_view contents);

/// Reads `fd` to its end, appending straight to `out`; 0, or the errno of
/// the failure. `out`'s capacity is best set to the expected size first: a
/// session record is read whole by every difftool run, and each copy or
/// doubling of it is memory to fault in again.
int readToEnd(int fd, std::string& out);

}  // namespace platform
