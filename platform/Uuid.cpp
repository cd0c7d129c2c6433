#include "platform/Uuid.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <random>

#if defined(__APPLE__)
#include <stdlib.h>
#else
#include <sys/random.h>
#endif

namespace platform {
namespace {

using Bytes = std::array<std::uint8_t, 16>;

#if defined(__APPLE__)
bool fillFromKernel(Bytes& bytes) {
    ::arc4random_buf(bytes.data(), bytes.size());
    return true;
}
#else
bool fillFromKernel(Bytes& bytes) {
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
    int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    filled = 0;
    while (filled < bytes.size()) {
        auto n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return filled == bytes.size();
}
#endif

}  // namespace

std::string makeUuid() {
    Bytes bytes{};
    if (!fillFromKernel(bytes)) {
        // Without any kernel source the library's generator is the last
        // resort; a UUID names a fresh directory, it guards no secret.
        std::random_device device;
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(device());
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant

    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace platform
