// T as confstr hands out the per-user temporary directory
// (VARN_TEMPORARY_DIRECTORY=confstr, the default on macOS).

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/Paths.hpp"
#include "platform/TemporaryDirectory.hpp"

namespace platform {

std::string temporaryDirectoryPath(const TemporaryDirectoryEnvironment&) {
    // The per-user directory below /var/folders, as the platform hands it out.
    std::size_t size = ::confstr(_CS_DARWIN_USER_TEMP_DIR, nullptr, 0);
    if (size > 0) {
        std::vector<char> buffer(size);
        if (::confstr(_CS_DARWIN_USER_TEMP_DIR, buffer.data(), buffer.size()) > 0) return buffer.data();
    }
    const char* tmpdir = std::getenv("TMPDIR");
    if (!tmpdir || !*tmpdir) return "/tmp/";
    auto absolute = absolutePath(tmpdir);
    // Without a current directory the text stays relative, which
    // `ensureTemporaryDirectory` refuses.
    return withTrailingSlash(absolute ? *absolute : tmpdir);
}

Result<std::string> ensureTemporaryDirectory(const TemporaryDirectoryEnvironment& environment) {
    std::string path = temporaryDirectoryPath(environment);
    if (path.front() != '/') return Error::posix(ENOENT, "Cannot read the current directory");
    if (auto checked = checkTemporaryDirectory(path); !checked) return checked.error();
    return path;
}

}  // namespace platform
