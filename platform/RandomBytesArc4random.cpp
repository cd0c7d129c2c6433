// Random bytes from arc4random_buf, which never fails
// (VARN_RANDOM_BYTES=arc4random, the default on macOS; glibc has it from 2.36).

#include <stdlib.h>

#include "platform/RandomBytes.hpp"

namespace platform {

bool fillRandomBytes(std::span<std::uint8_t> bytes) {
    ::arc4random_buf(bytes.data(), bytes.size());
    return true;
}

}  // namespace platform
