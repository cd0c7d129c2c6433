#pragma once
// A directory held open from the moment it was created, together with the
// directory it was created in. What is done to it later (writing into it,
// reading from it, watching it, removing it) reaches that very directory
// through the descriptors, whatever its path has come to name since; and
// whether the path still names it can be asked before anything read there
// is believed.

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"

namespace platform {

class HeldDirectory {
public:
    /// Creates the directory `path`, which must not exist yet, private to the
    /// user (mode 0700 whatever the umask), and holds it and its parent
    /// open. Neither is reached through a symbolic link at its own name.
    static Result<HeldDirectory> create(const std::string& path);

    const std::string& path() const { return path_; }
    int descriptor() const { return directory_.get(); }

    /// The path still names this very directory: it was not removed,
    /// renamed, replaced or turned into a link. An error when that cannot
    /// be found out.
    Result<bool> isAtItsPath() const;

    /// Something named `name` is inside (a link there counts, unfollowed).
    /// An error when that cannot be found out.
    Result<bool> contains(const std::string& name) const;

    /// Writes `contents` into the file `name` inside, complete or not at
    /// all; see `writeFileAtomically`.
    Result<void> writeFileAtomically(const std::string& name, std::string_view contents) const;
    /// The regular file `name` inside, never through a link; see `readSmallFileIn`.
    Result<std::optional<std::string>> readSmallFile(const std::string& name, std::size_t limit) const;

    /// Removes everything inside and then the directory itself, but only
    /// while it is still in its parent, under its name or another: a
    /// directory moved elsewhere is left alone, and so is whatever now has
    /// its name. What another process puts in meanwhile goes too.
    Result<void> remove() const;

private:
    HeldDirectory(std::string path, std::string name, FileDescriptor parent, FileDescriptor directory);
    /// The parent's entry `name` is this directory.
    bool isNamed(const std::string& name) const;
    /// Its name in its parent now, if it is still there.
    std::optional<std::string> nameInParent() const;

    std::string path_;
    /// Its name in its parent.
    std::string name_;
    FileDescriptor parent_;
    FileDescriptor directory_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace platform
