#include "platform/DirectoryWatcher.hpp"

#include <poll.h>

#include <cerrno>

#include "platform/PollTimeout.hpp"

namespace platform {

void DirectoryWatcher::close() {
    (void)fd_.close();
    (void)directoryFd_.close();
}

DirectoryWatcher::Change DirectoryWatcher::waitForChange(Clock::time_point deadline) {
    while (true) {
        int timeout = pollTimeoutUntil(deadline);
        if (timeout == 0) return Change::none;
        struct pollfd entry = {fd_.get(), POLLIN, 0};
        // Without a watch, poll on no descriptor is a plain sleep.
        int ready = fd_ ? ::poll(&entry, 1, timeout) : ::poll(nullptr, 0, timeout);
        if (ready < 0 && errno != EINTR) return Change::none;
        if (ready > 0)
            if (auto change = takeChanges(); change != Change::none) return change;
    }
}

}  // namespace platform
