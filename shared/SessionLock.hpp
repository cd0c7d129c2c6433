#pragma once
// The advisory lock that serialises the runs of one session. git normally
// starts them one after another, but nothing forces it to; two runs that
// overlapped would each read the record and the later write would drop the
// other's entry.

#include <string>

#include "platform/Error.hpp"

namespace VarnShared {

/// An exclusive `flock` on the session directory itself, held for the
/// object's life. Other processes that lock the same directory wait.
class SessionLock {
public:
    /// Waits for the lock on `directory`, which is opened without following
    /// a symbolic link.
    static platform::Result<SessionLock> acquire(const std::string& directory);

    SessionLock(SessionLock&& other) noexcept;
    SessionLock& operator=(SessionLock&& other) noexcept;
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;
    /// Closing the descriptor releases the lock.
    ~SessionLock();

private:
    explicit SessionLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

}  // namespace VarnShared
