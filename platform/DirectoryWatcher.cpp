#include "platform/DirectoryWatcher.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

#if defined(__APPLE__)
#include <sys/event.h>
#else
#include <sys/inotify.h>
#endif

namespace platform {
namespace {

/// Milliseconds left until `deadline`, rounded up so that a wait never ends
/// before it, and clamped to what poll takes.
int millisecondsUntil(DirectoryWatcher::Clock::time_point deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - DirectoryWatcher::Clock::now()).count();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

}  // namespace

DirectoryWatcher::DirectoryWatcher(DirectoryWatcher&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), directoryFd_(std::exchange(other.directoryFd_, -1)) {}

DirectoryWatcher& DirectoryWatcher::operator=(DirectoryWatcher&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        directoryFd_ = std::exchange(other.directoryFd_, -1);
    }
    return *this;
}

DirectoryWatcher::~DirectoryWatcher() { close(); }

void DirectoryWatcher::close() {
    if (fd_ >= 0) ::close(fd_);
    if (directoryFd_ >= 0) ::close(directoryFd_);
    fd_ = -1;
    directoryFd_ = -1;
}

#if defined(__APPLE__)

Result<void> DirectoryWatcher::watch(const std::string& directory) {
    close();
    int directoryFd = ::open(directory.c_str(), O_EVTONLY | O_CLOEXEC);
    if (directoryFd < 0) return Error::posix(errno, "Cannot watch directory " + directory, directory);
    int queue = ::kqueue();
    if (queue < 0) {
        int err = errno;
        ::close(directoryFd);
        return Error::posix(err, "Cannot watch directory " + directory, directory);
    }
    // NOTE_WRITE on a directory is a change of its entries.
    struct kevent change;
    EV_SET(&change, directoryFd, EVFILT_VNODE, EV_ADD | EV_CLEAR, NOTE_WRITE, 0, nullptr);
    if (::kevent(queue, &change, 1, nullptr, 0, nullptr) < 0) {
        int err = errno;
        ::close(queue);
        ::close(directoryFd);
        return Error::posix(err, "Cannot watch directory " + directory, directory);
    }
    fd_ = queue;
    directoryFd_ = directoryFd;
    return {};
}

bool DirectoryWatcher::takeChanges() {
    if (fd_ < 0) return false;
    bool changed = false;
    struct kevent events[16];
    struct timespec now = {0, 0};
    while (true) {
        int n = ::kevent(fd_, nullptr, 0, events, 16, &now);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return changed;
        for (int i = 0; i < n; ++i) {
            if (events[i].fflags & NOTE_WRITE) changed = true;
        }
    }
}

#else

Result<void> DirectoryWatcher::watch(const std::string& directory) {
    close();
    int instance = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (instance < 0) return Error::posix(errno, "Cannot watch directory " + directory, directory);
    // Entries only: IN_MODIFY is left out on purpose, so a file filled in
    // place is no event.
    uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;
    if (::inotify_add_watch(instance, directory.c_str(), mask) < 0) {
        int err = errno;
        ::close(instance);
        return Error::posix(err, "Cannot watch directory " + directory, directory);
    }
    fd_ = instance;
    return {};
}

bool DirectoryWatcher::takeChanges() {
    if (fd_ < 0) return false;
    bool changed = false;
    alignas(struct inotify_event) char buffer[4096];
    while (true) {
        auto n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return changed;
        for (ssize_t offset = 0; offset < n;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + offset);
            // An overflowed queue lost events, so something may have changed.
            if (event->mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_Q_OVERFLOW)) changed = true;
            offset += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
        }
    }
}

#endif

DirectoryWatcher::Wait DirectoryWatcher::waitForChange(Clock::time_point deadline) {
    while (true) {
        int timeout = millisecondsUntil(deadline);
        if (timeout == 0) return Wait::timedOut;
        struct pollfd entry = {fd_, POLLIN, 0};
        // Without a watch, poll on no descriptor is a plain sleep.
        int ready = fd_ >= 0 ? ::poll(&entry, 1, timeout) : ::poll(nullptr, 0, timeout);
        if (ready < 0 && errno != EINTR) return Wait::timedOut;
        if (ready > 0 && takeChanges()) return Wait::changed;
    }
}

}  // namespace platform
