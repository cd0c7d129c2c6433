#pragma once
// Notification when a directory held open changes: a file or directory
// created, removed, or moved in or out of it, or the directory itself moved.
// Writing into a file that is already there changes no entry and is not
// reported. A caller sleeps in the kernel on the watch's descriptor (with
// poll, beside whatever else it waits for) until a change; nothing polls.
//
// Each mechanism, inotify or a kqueue vnode filter, is in a file named after
// it; cmake/PlatformMechanisms.cmake chooses one (Linux inotify, macOS kqueue).

#include <string>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"
#include "platform/HeldDirectory.hpp"

namespace platform {

class DirectoryWatcher {
public:
    enum class Change {
        /// Nothing changed (before the deadline).
        none,
        /// The directory's entries changed, or it was moved.
        changed,
        /// The watch ended: the directory was deleted or its file system
        /// went away. No change will be reported any more.
        lost,
    };

    DirectoryWatcher() = default;
    DirectoryWatcher(const DirectoryWatcher&) = delete;
    DirectoryWatcher& operator=(const DirectoryWatcher&) = delete;
    DirectoryWatcher(DirectoryWatcher&& other) noexcept = default;
    DirectoryWatcher& operator=(DirectoryWatcher&& other) noexcept = default;
    ~DirectoryWatcher() = default;

    /// Starts watching `directory`, closing any earlier watch first. The
    /// watch is on the directory held open, never reached through a path.
    /// Changes from before this call are not reported. `directory` must stay
    /// open while it is watched.
    Result<void> watch(const HeldDirectory& directory);

    bool isWatching() const { return static_cast<bool>(fd_); }

    /// A descriptor that becomes readable when changes are pending, for a
    /// caller that waits on several things at once; -1 when not watching.
    int descriptor() const { return fd_.get(); }

    /// Consumes the pending notifications without waiting; `lost` outweighs
    /// `changed`.
    Change takeChanges();

    /// Stops watching and closes every descriptor.
    void close();

private:
    /// The inotify instance or the kqueue.
    FileDescriptor fd_;
    /// kqueue only: the event-only descriptor of the directory.
    FileDescriptor directoryFd_;
};

}  // namespace platform
