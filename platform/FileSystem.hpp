#pragma once
// Questions about the file system and the few changes the hand-off files
// need. Each query follows symbolic links unless its name says otherwise;
// each change reports its failure as an error naming the path.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Error.hpp"

namespace platform {

/// Something exists at `path`.
bool fileExists(const std::string& path);
/// An existing directory is at `path`.
bool isDirectory(const std::string& path);
/// `path` itself is a symbolic link.
bool isSymbolicLink(const std::string& path);
/// The destination of the symbolic link at `path`, unchanged (a relative
/// destination stays relative); nothing when it is no link or unreadable.
std::optional<std::string> destinationOfSymbolicLink(const std::string& path);
/// The process may write to `path` (false when nothing is there).
bool isWritable(const std::string& path);

/// Creates the directory `path` and every missing parent, with the default
/// mode less the umask. A directory already there is success.
Result<void> createDirectoryWithParents(const std::string& path);

/// Writes `contents` to the file `path`, creating it or replacing its
/// content. A symbolic link at `path` is refused, never followed.
Result<void> writeFileNoFollow(const std::string& path, std::string_view contents);

/// Writes `contents` to a new file beside `path` and renames it over `path`,
/// so readers see the old content or the new, never a part. A failure
/// leaves what was at `path` untouched.
Result<void> writeFileAtomically(const std::string& path, std::string_view contents);

/// The whole content of the file at `path`, as bytes.
Result<std::string> readFile(const std::string& path);

/// The content of the regular file at `path` (a link to one is followed)
/// when it holds at most `limit` bytes. Anything else is an error, found
/// without waiting or reading on: a directory, a device, a named pipe, a
/// longer file.
Result<std::string> readSmallFile(const std::string& path, std::size_t limit);

/// Copies the file `from` to `to`, which must not exist yet (a symbolic link
/// there is refused too). The copy keeps the permission bits of `from`.
Result<void> copyFile(const std::string& from, const std::string& to);

/// Removes `path` and, when it is a directory, everything inside it.
/// Symbolic links inside are removed, never followed.
Result<void> removeRecursively(const std::string& path);

}  // namespace platform
