// The directory watch with a kqueue vnode filter
// (VARN_DIRECTORY_WATCHER=kqueue, the default on macOS) on an event-only
// descriptor opened through the held directory ("." relative to it), so the
// watch is on the very directory held open whatever its path names now.

#include <fcntl.h>
#include <sys/event.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/DirectoryWatcher.hpp"
#include "platform/FileDescriptor.hpp"

namespace platform {

Result<void> DirectoryWatcher::watch(const HeldDirectory& directory) {
    close();
    auto failure = [&](int err) {
        return Error::posix(err, "Cannot watch directory " + directory.path(), directory.path());
    };
    FileDescriptor self(openRetrying(directory.descriptor(), ".", O_EVTONLY | O_CLOEXEC));
    if (!self) return failure(errno);
    FileDescriptor queue(::kqueue());
    if (!queue) return failure(errno);
    // NOTE_WRITE on a directory is a change of its entries.
    struct kevent change;
    EV_SET(&change, self.get(), EVFILT_VNODE, EV_ADD | EV_CLEAR, NOTE_WRITE | NOTE_DELETE | NOTE_RENAME | NOTE_REVOKE,
           0, nullptr);
    if (::kevent(queue.get(), &change, 1, nullptr, 0, nullptr) < 0) return failure(errno);
    fd_ = std::move(queue);
    directoryFd_ = std::move(self);
    return {};
}

DirectoryWatcher::Change DirectoryWatcher::takeChanges() {
    if (!fd_) return Change::none;
    Change change = Change::none;
    struct kevent events[16];
    struct timespec now = {0, 0};
    while (true) {
        int n = ::kevent(fd_.get(), nullptr, 0, events, 16, &now);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return change;
        for (int i = 0; i < n; ++i) {
            if (events[i].fflags & (NOTE_DELETE | NOTE_REVOKE))
                change = Change::lost;
            else
                change = std::max(change, Change::changed);
        }
    }
}

}  // namespace platform
