#include "shared/SessionDirectory.hpp"

#include "platform/FileSystem.hpp"
#include "platform/TemporaryDirectory.hpp"
#include "shared/SessionKey.hpp"

namespace VarnShared {

platform::Result<std::string> ensureSessionDirectory(const DiffToolSession& session) {
    auto temporary = platform::ensureTemporaryDirectory();
    if (!temporary) return std::move(temporary).error();
    std::string directory = *temporary + "/" + sessionKey(session);
    if (auto created = platform::createDirectoryWithParents(directory); !created) return std::move(created).error();
    if (auto checked = platform::checkOwnedDirectory(directory, "session directory"); !checked)
        return std::move(checked).error();
    return directory;
}

}  // namespace VarnShared
