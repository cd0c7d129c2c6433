#pragma once
// Random bytes from the kernel. Each platform's source is in a file of its
// own: getrandom (or /dev/urandom) on Linux, arc4random on macOS.

#include <cstdint>
#include <span>

namespace platform {

/// Fills `bytes` from the kernel's generator; false when it could not.
bool fillRandomBytes(std::span<std::uint8_t> bytes);

}  // namespace platform
