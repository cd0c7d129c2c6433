#include "shared/SessionLock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace VarnShared {

platform::Result<SessionLock> SessionLock::acquire(const std::string& directory) {
    int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return platform::Error::posix(errno, "Cannot lock " + directory, directory);
    while (::flock(descriptor, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        int err = errno;
        ::close(descriptor);
        return platform::Error::posix(err, "Cannot lock " + directory, directory);
    }
    return SessionLock(descriptor);
}

SessionLock::SessionLock(SessionLock&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

SessionLock& SessionLock::operator=(SessionLock&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

SessionLock::~SessionLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace VarnShared
