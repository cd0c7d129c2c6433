#include "shared/HandOffDirectory.hpp"

#include "platform/TemporaryDirectory.hpp"
#include "platform/Uuid.hpp"

namespace VarnShared {

platform::Result<std::string> newHandOffPath() {
    auto temporary = platform::ensureTemporaryDirectory();
    if (!temporary) return std::move(temporary).error();
    return *temporary + "/" + platform::makeUuid();
}

platform::Result<void> writeHandOff(const std::string& directory, std::string_view fileName, std::string_view json) {
    if (auto created = platform::createDirectoryWithParents(directory); !created) return created;
    if (auto checked = platform::checkOwnedDirectory(directory, "hand-off directory"); !checked) return checked;
    // Moved into place complete: a write that fails half-way (a full disk)
    // leaves no partial record that a reader could take for a request.
    return platform::writeFileAtomically(metadataFilePath(directory, fileName), json);
}

}  // namespace VarnShared
