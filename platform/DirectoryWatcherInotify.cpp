// The directory watch with inotify (VARN_DIRECTORY_WATCHER=inotify, the
// default on Linux), on the held directory named through /proc/self/fd, so the watch is on the very directory held open
// whatever its path names now. A directory held open has no removal event of
// its own: its removal shows as the removal of what it held.

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/DirectoryWatcher.hpp"
#include "platform/FileDescriptor.hpp"

namespace platform {

Result<void> DirectoryWatcher::watch(const HeldDirectory& directory) {
    close();
    auto failure = [&](int err) {
        return Error::posix(err, "Cannot watch directory " + directory.path(), directory.path());
    };
    FileDescriptor instance(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!instance) return failure(errno);
    // Entries only: IN_MODIFY is left out on purpose, so a file filled in
    // place is no event.
    constexpr std::uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                   IN_ONLYDIR;
    auto name = "/proc/self/fd/" + std::to_string(directory.descriptor());
    if (::inotify_add_watch(instance.get(), name.c_str(), mask) < 0) return failure(errno);
    fd_ = std::move(instance);
    return {};
}

DirectoryWatcher::Change DirectoryWatcher::takeChanges() {
    if (!fd_) return Change::none;
    Change change = Change::none;
    alignas(struct inotify_event) char buffer[4096];
    while (true) {
        auto n = ::read(fd_.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return change;
        for (ssize_t offset = 0; offset < n;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
            // A watch removed (its directory deleted, its file system
            // unmounted) reports nothing any more. An overflowed queue lost
            // events, so something may have changed.
            if (event->mask & (IN_IGNORED | IN_UNMOUNT | IN_DELETE_SELF))
                change = Change::lost;
            else
                change = std::max(change, Change::changed);
        }
    }
}

}  // namespace platform
