#pragma once
// Home directories from the system's user database.
//
// By default off macOS the database is read without the C library's
// name-service functions: a statically linked program that calls them loads,
// at run time, the service modules of the C library installed on the machine,
// which need not be the version it was linked with. Instead the password file, whose
// format is fixed, is read directly, and a user it does not list is asked of
// `getent`, the installed C library's own program, which consults every
// source the system configures (directory services, systemd, ...). A
// dynamic link may ask the C library instead (getpwnam_r, getpwuid_r), as
// macOS does. Each way is in a file of its own
// (cmake/PlatformMechanisms.cmake).

#include <sys/types.h>

#include <optional>
#include <string>

namespace platform {

/// Where the password-file way reads the user database; tests choose their own.
struct UserDatabase {
    std::string passwordFile = "/etc/passwd";
    /// Run, for at most a few seconds, for a user the password file lacks.
    std::string getent = "/usr/bin/getent";
};

/// The home directory of the user named `name`; nothing when no source
/// knows the user or its entry has no home directory.
std::optional<std::string> homeDirectoryOfUser(const std::string& name, const UserDatabase& database = {});

/// The home directory of the user `uid`, found as by name.
std::optional<std::string> homeDirectoryOfUser(uid_t uid, const UserDatabase& database = {});

}  // namespace platform
