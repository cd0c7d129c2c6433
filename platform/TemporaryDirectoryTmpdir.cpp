// No per-user temporary directory from the platform
// (VARN_TEMPORARY_DIRECTORY=tmpdir, the default except on macOS): T is the
// user's TMPDIR, else a private directory below /tmp (TemporaryDirectory.cpp).

#include "platform/TemporaryDirectory.hpp"

namespace platform {

std::optional<std::string> systemTemporaryDirectory() { return std::nullopt; }

}  // namespace platform
