#include "shared/SessionLock.hpp"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace VarnShared {

platform::Result<SessionLock> SessionLock::acquire(const std::string& directory) {
    platform::FileDescriptor descriptor(platform::openRetrying(AT_FDCWD, directory.c_str(),
                                                               O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!descriptor) return platform::Error::posix(errno, "Cannot lock " + directory, directory);
    while (::flock(descriptor.get(), LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        return platform::Error::posix(errno, "Cannot lock " + directory, directory);
    }
    return SessionLock(std::move(descriptor));
}

}  // namespace VarnShared
