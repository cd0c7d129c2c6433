#include "platform/Uuid.hpp"

#include <array>
#include <cstdint>
#include <random>

#include "platform/RandomBytes.hpp"

namespace platform {

std::string makeUuid() {
    std::array<std::uint8_t, 16> bytes{};
    if (!fillRandomBytes(bytes)) {
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
