#pragma once
// Putting a freshly written file in the place of another: an exchange with
// renameat2, or a plain renameat, each in a file of its own
// (cmake/PlatformMechanisms.cmake).

namespace platform {

/// Moves the entry `from` over the entry `to`, both in the directory open at
/// `directoryFd`, in one step for readers: they find the old file or the
/// new one at `to`, never neither. 0, or the reason it failed, with `from`
/// still in place.
int replaceEntry(int directoryFd, const char* from, const char* to);

}  // namespace platform
