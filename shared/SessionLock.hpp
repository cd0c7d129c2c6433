#pragma once
// The advisory lock that serialises the runs of one session. git normally
// starts them one after another, but nothing forces it to; two runs that
// overlapped would each read the record and the later write would drop the
// other's entry.

#include <string>
#include <utility>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"

namespace VarnShared {

/// An exclusive `flock` on the session directory itself, held for the
/// object's life. Other processes that lock the same directory wait.
class SessionLock {
public:
    /// Waits for the lock on `directory`, which is opened without following
    /// a symbolic link.
    static platform::Result<SessionLock> acquire(const std::string& directory);

private:
    explicit SessionLock(platform::FileDescriptor descriptor) : descriptor_(std::move(descriptor)) {}
    /// Closing it, as the lock ends, releases the lock.
    platform::FileDescriptor descriptor_;
};

}  // namespace VarnShared
