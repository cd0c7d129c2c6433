#include "platform/Paths.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <deque>

#include "platform/FileSystem.hpp"
#include "platform/UserDatabase.hpp"

namespace platform {

namespace {

// The same bound the kernel puts on one path lookup.
constexpr int maximumLinksFollowed = 40;

bool isAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

/// The non-empty components between separators, "." included.
std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string joinComponents(bool absolute, const std::vector<std::string>& parts) {
    std::string text = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += '/';
        text += parts[i];
    }
    return text;
}

/// The lexical part of standardisation: separators, "." and "..".
std::string normalize(const std::string& path) {
    if (path.empty()) return path;
    bool absolute = isAbsolute(path);
    std::vector<std::string> kept;
    for (auto& part : splitComponents(path)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!kept.empty() && kept.back() != "..") {
                kept.pop_back();
            } else if (!absolute) {
                kept.push_back(part);
            }
            continue;
        }
        kept.push_back(std::move(part));
    }
    if (!absolute && kept.empty()) return ".";
    return joinComponents(absolute, kept);
}

std::string expandingTilde(const std::string& path) {
    if (path.empty() || path.front() != '~') return path;
    auto slash = path.find('/');
    auto user = path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
    auto home = user.empty() ? homeDirectory() : homeDirectoryOfUser(user).value_or("");
    if (home.empty()) return path;
    return slash == std::string::npos ? home : home + path.substr(slash);
}

std::string trimmingTrailingSeparators(const std::string& path) {
    auto end = path.find_last_not_of('/');
    if (end == std::string::npos) return path.empty() ? path : "/";
    return path.substr(0, end + 1);
}

}  // namespace

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    return homeDirectoryOfUser(::getuid()).value_or("/");
}

std::string currentDirectoryPath() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string standardizingPath(const std::string& path) { return normalize(expandingTilde(path)); }

std::string absolutePath(const std::string& path) {
    if (isAbsolute(path)) return normalize(path);
    return normalize(currentDirectoryPath() + "/" + path);
}

std::string resolvingSymlinksInPath(const std::string& path) {
    if (!isAbsolute(path)) return normalize(path);
    auto parts = splitComponents(path);
    std::deque<std::string> pending(parts.begin(), parts.end());
    // The link-free prefix resolved so far; empty stands for "/".
    std::string resolved;
    int linksFollowed = 0;
    while (!pending.empty()) {
        auto part = std::move(pending.front());
        pending.pop_front();
        if (part == ".") continue;
        if (part == "..") {
            resolved.erase(resolved.empty() ? 0 : resolved.rfind('/'));
            continue;
        }
        auto candidate = resolved + "/" + part;
        if (linksFollowed < maximumLinksFollowed) {
            if (auto destination = destinationOfSymbolicLink(candidate)) {
                ++linksFollowed;
                auto inner = splitComponents(*destination);
                pending.insert(pending.begin(), inner.begin(), inner.end());
                if (isAbsolute(*destination)) resolved.clear();
                continue;
            }
        }
        resolved = std::move(candidate);
    }
    return resolved.empty() ? "/" : resolved;
}

std::string lastPathComponent(const std::string& path) {
    auto trimmed = trimmingTrailingSeparators(path);
    if (trimmed == "/" || trimmed.empty()) return trimmed;
    return trimmed.substr(trimmed.rfind('/') + 1);
}

std::string deletingLastPathComponent(const std::string& path) {
    auto trimmed = trimmingTrailingSeparators(path);
    if (trimmed == "/" || trimmed.empty()) return trimmed;
    auto slash = trimmed.rfind('/');
    if (slash == std::string::npos) return "";
    auto parent = trimmingTrailingSeparators(trimmed.substr(0, slash));
    return parent.empty() ? "/" : parent;
}

std::vector<std::string> pathComponents(const std::string& path) {
    std::vector<std::string> components;
    if (isAbsolute(path)) components.push_back("/");
    for (auto& part : splitComponents(path)) components.push_back(std::move(part));
    return components;
}

std::string appendingPathComponent(const std::string& path, const std::string& component) {
    auto parts = splitComponents(path);
    for (auto& part : splitComponents(component)) parts.push_back(std::move(part));
    if (parts.empty()) return isAbsolute(path) || isAbsolute(component) ? "/" : "";
    return joinComponents(isAbsolute(path) || (path.empty() && isAbsolute(component)), parts);
}

}  // namespace platform
