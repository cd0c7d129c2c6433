#include "platform/UserDatabase.hpp"

#if defined(__APPLE__)
#include <pwd.h>

#include <vector>
#else
#include <chrono>
#include <string_view>
#include <vector>

#include "platform/FileSystem.hpp"
#include "platform/Process.hpp"
#endif

namespace platform {

#if defined(__APPLE__)

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

#else

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
        std::vector<std::string_view> fields;
        for (std::size_t start = 0;;) {
            auto colon = line.find(':', start);
            fields.push_back(line.substr(start, colon - start));
            if (colon == std::string_view::npos) break;
            start = colon + 1;
        }
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

#endif

}  // namespace platform
