#pragma once
// The per-user temporary directory T under which hand-off directories live,
// and the check that a directory there is safe to write into.
//
// Where the platform hands out a per-user temporary directory (macOS), T is
// that directory, as returned (it ends in "/"). Elsewhere it is $TMPDIR when
// set and not empty, made absolute, with "/" appended when missing, else
// /tmp/varnel-<uid>/, created with mode 0700. Whether the platform hands one
// out is asked of confstr (TemporaryDirectoryConfstr.cpp) or known to be no
// (TemporaryDirectoryTmpdir.cpp), as cmake/PlatformMechanisms.cmake chooses.
// Hand-off paths are T + "/" + a name, so they may contain "//".

#include <optional>
#include <string>
#include <string_view>

#include "platform/Error.hpp"

namespace platform {

/// What T is derived from.
struct TemporaryDirectoryEnvironment {
    /// The value of TMPDIR; nothing when unset.
    std::optional<std::string> tmpdir;
    /// The parent of the fallback directory "varnel-<uid>".
    std::string fallbackParent = "/tmp";
    /// The platform's own per-user temporary directory, which outweighs the
    /// rest; nothing where it hands out none.
    std::optional<std::string> system;

    /// The process's own environment.
    static TemporaryDirectoryEnvironment current();
};

/// The per-user temporary directory the platform hands out, as returned;
/// nothing where it hands out none.
std::optional<std::string> systemTemporaryDirectory();

/// The text T, without touching the disk.
std::string temporaryDirectoryPath(
    const TemporaryDirectoryEnvironment& environment = TemporaryDirectoryEnvironment::current());

/// T, ready to be written into: the fallback directory created (0700) when
/// missing (the platform's and TMPDIR are not created), and T checked with
/// `checkTemporaryDirectory`.
Result<std::string> ensureTemporaryDirectory(
    const TemporaryDirectoryEnvironment& environment = TemporaryDirectoryEnvironment::current());

/// Succeeds when `path` may serve as T: a directory itself, not a symbolic
/// link to one, either root's and sticky (like /tmp), or the effective
/// user's and writable by nobody else unless it is sticky; and every
/// directory above it, up to "/" (links followed, and along the path they
/// lead to), the user's or root's and writable by nobody else unless sticky.
Result<void> checkTemporaryDirectory(const std::string& path);

/// Succeeds when `path` is a directory itself, not a symbolic link to one,
/// owned by the effective user, with no access for anyone else. `role`
/// names the directory in the error, for example "session directory".
Result<void> checkOwnedDirectory(const std::string& path, std::string_view role);

}  // namespace platform
