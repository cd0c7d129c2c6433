// T where the platform has no per-user temporary directory of its own
// (VARN_TEMPORARY_DIRECTORY=tmpdir, the default except on macOS): the
// user's TMPDIR, else a private directory below /tmp, created on demand.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/TemporaryDirectory.hpp"

namespace platform {
namespace {

std::string fallbackDirectory(const TemporaryDirectoryEnvironment& environment) {
    return withTrailingSlash(environment.fallbackParent) + "varnel-" + std::to_string(::geteuid()) + "/";
}

}  // namespace

std::string temporaryDirectoryPath(const TemporaryDirectoryEnvironment& environment) {
    // Made absolute: records name the hand-off directory for another process.
    if (environment.tmpdir && !environment.tmpdir->empty()) {
        const std::string& tmpdir = *environment.tmpdir;
        if (tmpdir.front() == '/') return withTrailingSlash(tmpdir);
        auto absolute = absolutePath(tmpdir);
        // Without a current directory the text stays relative, which
        // `ensureTemporaryDirectory` refuses.
        return withTrailingSlash(absolute ? *absolute : tmpdir);
    }
    return fallbackDirectory(environment);
}

Result<std::string> ensureTemporaryDirectory(const TemporaryDirectoryEnvironment& environment) {
    std::string path = temporaryDirectoryPath(environment);
    if (path.front() != '/') {
        auto current = currentDirectoryPath();
        return current ? Error::posix(ENOENT, "Cannot read the current directory") : std::move(current).error();
    }
    if (!environment.tmpdir || environment.tmpdir->empty()) {
        auto created = createPrivateDirectoryIn(AT_FDCWD, path.substr(0, path.size() - 1), path);
        if (!created && created.error().code != EEXIST) return std::move(created).error();
    }
    if (auto checked = checkTemporaryDirectory(path); !checked) return checked.error();
    return path;
}

}  // namespace platform
