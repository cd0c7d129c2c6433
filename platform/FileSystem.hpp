#pragma once
// Questions about the file system and the few changes the hand-off files
// need. Each query follows symbolic links unless its name says otherwise;
// each change reports its failure as an error naming the path.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"

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

/// Creates the directory `path` and every missing parent, each private to
/// the user (mode 0700, whatever the umask). A directory already there is
/// success, whatever its mode.
Result<void> createDirectoryWithParents(const std::string& path);

/// Creates the directory `name` in the directory open at `parentFd`
/// (`AT_FDCWD` for the current one), which must not exist yet, with mode
/// 0700 whatever the umask, and opens it without following a link at the
/// name. `path` names it in errors.
Result<FileDescriptor> createPrivateDirectoryIn(int parentFd, const std::string& name, const std::string& path);

/// Writes `contents` to the file `path`, creating it or replacing its
/// content. A symbolic link at `path` is refused, never followed.
Result<void> writeFileNoFollow(const std::string& path, std::string_view contents);

/// Writes `contents` to a new file beside `path` and puts it in the place of `path`,
/// so readers see the old content or the new, never a part. A failure
/// leaves what was at `path` untouched. The file is readable and writable
/// by the user alone; a link at `path` is replaced, never written through.
Result<void> writeFileAtomically(const std::string& path, std::string_view contents);
/// The same for `name` in the directory open at `directoryFd`; `path`
/// names the file in errors.
Result<void> writeFileAtomicallyIn(int directoryFd, const std::string& name, std::string_view contents,
                                   const std::string& path);

/// The whole content of the file at `path`, as bytes.
Result<std::string> readFile(const std::string& path);

/// The content of the regular file `name` in the directory open at
/// `directoryFd` when it holds at most `limit` bytes. Nothing when anything
/// else stands at the name, found without waiting or reading on: a
/// symbolic link (never followed), a directory, a device, a named pipe, a
/// longer file. An error when nothing is there (code ENOENT) or the file
/// cannot be opened, examined or read; `path` names the file in errors.
Result<std::optional<std::string>> readSmallFileIn(int directoryFd, const std::string& name, std::size_t limit,
                                                   const std::string& path);

/// Copies the file `from` to `to`, which must not exist yet (a symbolic link
/// there is refused too). The copy keeps the owner's permission bits of
/// `from` and gives nobody else any.
Result<void> copyFile(const std::string& from, const std::string& to);

/// Removes `path` and, when it is a directory, everything inside it.
/// Symbolic links inside are removed, never followed.
Result<void> removeRecursively(const std::string& path);
/// Removes everything inside the directory open at `directoryFd`, the same
/// way; `path` names it in errors.
Result<void> removeContentsOf(int directoryFd, const std::string& path);

}  // namespace platform
