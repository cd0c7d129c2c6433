#include "shared/HandOffDirectory.hpp"

#include "platform/TemporaryDirectory.hpp"
#include "platform/Uuid.hpp"

namespace VarnShared {

platform::Result<std::string> newHandOffPath() {
    auto temporary = platform::ensureTemporaryDirectory();
    if (!temporary) return std::move(temporary).error();
    return *temporary + "/" + platform::makeUuid();
}

platform::Result<platform::HeldDirectory> writeNewHandOff(const std::string& directory, std::string_view fileName,
                                                          std::string_view json) {
    auto held = platform::HeldDirectory::create(directory);
    if (!held) return std::move(held).error();
    // Moved into place complete: a write that fails half-way (a full disk)
    // leaves no partial record that a reader could take for a request.
    if (auto written = held->writeFileAtomically(std::string(fileName), json); !written) {
        (void)held->remove();
        return std::move(written).error();
    }
    return held;
}

}  // namespace VarnShared
