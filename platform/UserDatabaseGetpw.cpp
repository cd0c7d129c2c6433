// The user database asked of the C library's getpwnam_r and getpwuid_r,
// linked dynamically (VARN_USER_DATABASE=getpw, the default on macOS).

#include <pwd.h>

#include <vector>

#include "platform/UserDatabase.hpp"

namespace platform {

namespace {

// The home directory a lookup found. Each caller makes the lookup a
// statement of its own first: as an argument beside `found`, `found` may be
// read before the lookup sets it.
std::optional<std::string> homeIn(int failure, const struct passwd* found) {
    if (failure != 0 || !found || !found->pw_dir || !*found->pw_dir) return std::nullopt;
    return std::string(found->pw_dir);
}

}  // namespace

std::optional<std::string> homeDirectoryOfUser(const std::string& name, const UserDatabase&) {
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    int failure = ::getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found);
    return homeIn(failure, found);
}

std::optional<std::string> homeDirectoryOfUser(uid_t uid, const UserDatabase&) {
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    int failure = ::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
    return homeIn(failure, found);
}

}  // namespace platform
