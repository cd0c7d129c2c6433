// Random bytes from getrandom, or from the device where the kernel lacks it
// (VARN_RANDOM_BYTES=getrandom, the default on Linux).

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileDescriptor.hpp"
#include "platform/RandomBytes.hpp"

namespace platform {

bool fillRandomBytes(std::span<std::uint8_t> bytes) {
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        auto n = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    if (filled == bytes.size()) return true;

    // Kernels without getrandom still have the device.
    FileDescriptor device(openRetrying(AT_FDCWD, "/dev/urandom", O_RDONLY | O_CLOEXEC));
    if (!device) return false;
    filled = 0;
    while (filled < bytes.size()) {
        auto n = ::read(device.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        filled += static_cast<std::size_t>(n);
    }
    return filled == bytes.size();
}

}  // namespace platform
