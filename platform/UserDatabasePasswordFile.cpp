// The user database without the C library's name-service functions, so a
// static link can read it (VARN_USER_DATABASE=password-file, the default on
// Linux): the password file, then getent.

#include <chrono>
#include <string_view>
#include <vector>

#include "platform/FileSystem.hpp"
#include "platform/Process.hpp"
#include "platform/Strings.hpp"
#include "platform/UserDatabase.hpp"

namespace platform {

namespace {

// A directory service that has not answered by then is not waited for.
constexpr std::chrono::seconds getentLimit{5};

// The fields of an entry, "name:password:uid:gid:gecos:home:shell".
constexpr std::size_t nameField = 0, uidField = 2, homeField = 5, fieldCount = 7;

/// The home directory of the first entry in `entries` whose field `keyField`
/// is `key`, when it has one. Comment lines are not entries.
std::optional<std::string> homeInEntries(std::string_view entries, std::size_t keyField, std::string_view key) {
    while (!entries.empty()) {
        auto end = entries.find('\n');
        auto line = entries.substr(0, end);
        entries.remove_prefix(end == std::string_view::npos ? entries.size() : end + 1);
        if (line.starts_with('#')) continue;
        auto fields = split(line, ':');
        if (fields.size() == fieldCount && fields[keyField] == key) {
            if (fields[homeField].empty()) return std::nullopt;
            return std::string(fields[homeField]);
        }
    }
    return std::nullopt;
}

std::optional<std::string> homeOfUser(std::size_t keyField, const std::string& key, const UserDatabase& database) {
    if (auto entries = readFile(database.passwordFile))
        if (auto home = homeInEntries(*entries, keyField, key)) return home;
    // getent takes a number for a user identifier: the entry it prints is
    // believed only when it holds the key in the field asked for.
    auto asked = runCollectingOutput(database.getent, {"passwd", "--", key}, {.captureError = true, .nullInput = true},
                                     getentLimit);
    if (!asked || asked->terminationReason != TerminationReason::exit || asked->terminationStatus != 0)
        return std::nullopt;
    return homeInEntries(asked->standardOutput, keyField, key);
}

}  // namespace

std::optional<std::string> homeDirectoryOfUser(const std::string& name, const UserDatabase& database) {
    return homeOfUser(nameField, name, database);
}

std::optional<std::string> homeDirectoryOfUser(uid_t uid, const UserDatabase& database) {
    return homeOfUser(uidField, std::to_string(uid), database);
}

}  // namespace platform
