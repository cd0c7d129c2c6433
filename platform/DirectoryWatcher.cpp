#include "platform/DirectoryWatcher.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

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

DirectoryWatcher::DirectoryWatcher(DirectoryWatcher&& other) noexcept { *this = std::move(other); }

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
    for (int* fd : {&fd_, &directoryFd_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

DirectoryWatcher::Change DirectoryWatcher::waitForChange(Clock::time_point deadline) {
    while (true) {
        int timeout = millisecondsUntil(deadline);
        if (timeout == 0) return Change::none;
        struct pollfd entry = {fd_, POLLIN, 0};
        // Without a watch, poll on no descriptor is a plain sleep.
        int ready = fd_ >= 0 ? ::poll(&entry, 1, timeout) : ::poll(nullptr, 0, timeout);
        if (ready < 0 && errno != EINTR) return Change::none;
        if (ready > 0)
            if (auto change = takeChanges(); change != Change::none) return change;
    }
}

}  // namespace platform
