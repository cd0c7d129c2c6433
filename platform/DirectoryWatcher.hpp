#pragma once
// Notification when the entries of one directory change: a file or
// directory created, removed, or moved in or out. Writing into a file that
// is already there changes no entry and is not reported. The process sleeps
// in the kernel until a change or the deadline; nothing polls.
//
// Linux uses inotify; macOS a kqueue vnode filter on a descriptor opened for
// event notification only.

#include <chrono>
#include <string>

#include "platform/Error.hpp"

namespace platform {

class DirectoryWatcher {
public:
    using Clock = std::chrono::steady_clock;

    enum class Wait {
        /// The directory's entries changed.
        changed,
        /// The deadline passed first.
        timedOut,
    };

    DirectoryWatcher() = default;
    DirectoryWatcher(const DirectoryWatcher&) = delete;
    DirectoryWatcher& operator=(const DirectoryWatcher&) = delete;
    DirectoryWatcher(DirectoryWatcher&& other) noexcept;
    DirectoryWatcher& operator=(DirectoryWatcher&& other) noexcept;
    ~DirectoryWatcher();

    /// Starts watching `directory`, closing any earlier watch first. Changes
    /// from before this call are not reported.
    Result<void> watch(const std::string& directory);

    bool isWatching() const { return fd_ >= 0; }

    /// A descriptor that becomes readable when changes are pending, for a
    /// caller that waits on several things at once; -1 when not watching.
    int descriptor() const { return fd_; }

    /// Consumes the pending notifications without waiting; true when any of
    /// them was a change of the entries.
    bool takeChanges();

    /// Sleeps until the entries change or `deadline` passes. Without a watch
    /// it sleeps until the deadline.
    Wait waitForChange(Clock::time_point deadline);

    /// Stops watching and closes every descriptor.
    void close();

private:
    /// The inotify instance or the kqueue.
    int fd_ = -1;
    /// macOS only: the event-only descriptor of the directory itself.
    int directoryFd_ = -1;
};

}  // namespace platform
