#pragma once
// Random bytes from the kernel: getrandom (or /dev/urandom), or
// arc4random_buf, each in a file of its own (cmake/PlatformMechanisms.cmake).

#include <cstdint>
#include <span>

namespace platform {

/// Fills `bytes` from the kernel's generator; false when it could not.
bool fillRandomBytes(std::span<std::uint8_t> bytes);

}  // namespace platform
