// The directory watch on Linux: inotify, on the held directories named
// through /proc/self/fd, so the watches are on the very directories held
// open whatever their paths name now.
//
// Two watches: the directory's entries, and its parent's entries for the
// directory's own name. A directory held open yields no event of its own
// when it is removed, so its removal is seen in its parent.

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
    constexpr std::uint32_t mask =
        IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    auto add = [&](int fd) {
        return ::inotify_add_watch(instance.get(), ("/proc/self/fd/" + std::to_string(fd)).c_str(), mask);
    };
    if (add(directory.descriptor()) < 0) return failure(errno);
    int parentWatch = add(directory.parentDescriptor());
    if (parentWatch < 0) return failure(errno);
    fd_ = instance.release();
    parentWatch_ = parentWatch;
    name_ = directory.name();
    return {};
}

DirectoryWatcher::Change DirectoryWatcher::takeChanges() {
    if (fd_ < 0) return Change::none;
    Change change = Change::none;
    alignas(struct inotify_event) char buffer[4096];
    while (true) {
        auto n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return change;
        for (ssize_t offset = 0; offset < n;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
            bool counts = true;
            // In the parent only the directory's own name and the parent
            // itself matter; the rest of T is not ours.
            if (event->wd == parentWatch_ && event->len > 0) counts = std::strcmp(event->name, name_.c_str()) == 0;
            // A watch removed (its directory deleted, its file system
            // unmounted) reports nothing any more.
            if (event->mask & (IN_IGNORED | IN_UNMOUNT | (event->wd == parentWatch_ ? 0 : IN_DELETE_SELF)))
                change = Change::lost;
            else if (counts)
                change = std::max(change, Change::changed);
        }
    }
}

}  // namespace platform
