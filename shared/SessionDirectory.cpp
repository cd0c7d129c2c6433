#include "shared/SessionDirectory.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.hpp"
#include "platform/TemporaryDirectory.hpp"
#include "shared/SessionKey.hpp"

namespace VarnShared {

platform::Result<std::string> ensureSessionDirectory(const DiffToolSession& session) {
    auto temporary = platform::ensureTemporaryDirectory();
    if (!temporary) return std::move(temporary).error();
    std::string directory = *temporary + "/" + sessionKey(session);
    // A directory made here is private by construction, and one that
    // cannot be made so is removed again; one that was there is checked.
    auto created = platform::createPrivateDirectoryIn(AT_FDCWD, directory, directory);
    if (created) return directory;
    if (created.error().code != EEXIST) return std::move(created).error();
    if (auto checked = platform::checkOwnedDirectory(directory, "session directory"); !checked)
        return std::move(checked).error();
    return directory;
}

}  // namespace VarnShared
