// The directory watch on macOS: a kqueue vnode filter on event-only
// descriptors opened through the held directories ("." relative to each),
// so the watches are on the very directories held open whatever their
// paths name now. The parent is watched too, since a change of the
// directory's own name shows there.

#include <fcntl.h>
#include <sys/event.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/DirectoryWatcher.hpp"
#include "platform/FileDescriptor.hpp"

namespace platform {

Result<void> DirectoryWatcher::watch(const HeldDirectory& directory) {
    close();
    auto failure = [&](int err) {
        return Error::posix(err, "Cannot watch directory " + directory.path(), directory.path());
    };
    FileDescriptor self(::openat(directory.descriptor(), ".", O_EVTONLY | O_CLOEXEC));
    if (!self) return failure(errno);
    FileDescriptor parent(::openat(directory.parentDescriptor(), ".", O_EVTONLY | O_CLOEXEC));
    if (!parent) return failure(errno);
    FileDescriptor queue(::kqueue());
    if (!queue) return failure(errno);
    // NOTE_WRITE on a directory is a change of its entries.
    constexpr unsigned flags = NOTE_WRITE | NOTE_DELETE | NOTE_RENAME | NOTE_REVOKE;
    struct kevent changes[2];
    EV_SET(&changes[0], self.get(), EVFILT_VNODE, EV_ADD | EV_CLEAR, flags, 0, nullptr);
    EV_SET(&changes[1], parent.get(), EVFILT_VNODE, EV_ADD | EV_CLEAR, flags, 0, nullptr);
    if (::kevent(queue.get(), changes, 2, nullptr, 0, nullptr) < 0) return failure(errno);
    fd_ = queue.release();
    directoryFd_ = self.release();
    parentFd_ = parent.release();
    return {};
}

DirectoryWatcher::Change DirectoryWatcher::takeChanges() {
    if (fd_ < 0) return Change::none;
    Change change = Change::none;
    struct kevent events[16];
    struct timespec now = {0, 0};
    while (true) {
        int n = ::kevent(fd_, nullptr, 0, events, 16, &now);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return change;
        for (int i = 0; i < n; ++i) {
            bool self = static_cast<int>(events[i].ident) == directoryFd_;
            if (self && (events[i].fflags & (NOTE_DELETE | NOTE_REVOKE)))
                change = Change::lost;
            else
                change = std::max(change, Change::changed);
        }
    }
}

}  // namespace platform
