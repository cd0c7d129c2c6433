// Random bytes on macOS: arc4random, which never fails.

#include <stdlib.h>

#include "platform/RandomBytes.hpp"

namespace platform {

bool fillRandomBytes(std::span<std::uint8_t> bytes) {
    ::arc4random_buf(bytes.data(), bytes.size());
    return true;
}

}  // namespace platform
