#pragma once
// Questions about the file system. Each follows symbolic links unless its
// name says otherwise.

#include <optional>
#include <string>

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

}  // namespace platform
