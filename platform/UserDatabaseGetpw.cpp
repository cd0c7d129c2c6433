// The user database asked of the C library's getpwnam_r and getpwuid_r,
// linked dynamically (VARN_USER_DATABASE=getpw, the default on macOS).

#include <pwd.h>

#include <vector>

#include "platform/UserDatabase.hpp"

namespace platform {

namespace {

std::optional<std::string> homeIn(int failure, const struct passwd* found) {
    if (failure != 0 || !found || !found->pw_dir || !*found->pw_dir) return std::nullopt;
    return std::string(found->pw_dir);
}

}  // namespace

std::optional<std::string> homeDirectoryOfUser(const std::string& name, const UserDatabase&) {
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    return homeIn(::getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found), found);
}

std::optional<std::string> homeDirectoryOfUser(uid_t uid, const UserDatabase&) {
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    return homeIn(::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found), found);
}

}  // namespace platform
