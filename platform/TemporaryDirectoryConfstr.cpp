// The per-user temporary directory below /var/folders, as confstr hands it out
// (VARN_TEMPORARY_DIRECTORY=confstr, the default on macOS).

#include <unistd.h>

#include <vector>

#include "platform/TemporaryDirectory.hpp"

namespace platform {

std::optional<std::string> systemTemporaryDirectory() {
    std::size_t size = ::confstr(_CS_DARWIN_USER_TEMP_DIR, nullptr, 0);
    if (size <= 1) return std::nullopt;
    std::vector<char> buffer(size);
    if (::confstr(_CS_DARWIN_USER_TEMP_DIR, buffer.data(), buffer.size()) == 0) return std::nullopt;
    return std::string(buffer.data());
}

}  // namespace platform
