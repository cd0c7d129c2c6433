#pragma once
// What a directory holds: its entries, and everything below it, all the
// way down, as paths relative to it.

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"

namespace platform {

struct DirectoryEntry {
    std::string name;
    ino_t inode = 0;
    /// A directory itself, not a symbolic link to one.
    bool isDirectory = false;
};

/// The entries of the directory open at `directory`, "." and ".." left
/// out, in the order the system lists them, read from the descriptor's
/// position; the descriptor is closed. `path` names the directory in
/// errors ("Cannot read directory PATH").
Result<std::vector<DirectoryEntry>> directoryEntries(FileDescriptor directory, const std::string& path);

/// The relative paths ("a.txt", "sub/c.txt") of everything below
/// `directory` that is not a directory itself (files, symbolic links and
/// the rest), in byte order. Symbolic links are listed, never followed. A
/// directory that cannot be read is an error naming it.
Result<std::vector<std::string>> filesBelow(const std::string& directory);

}  // namespace platform
