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

/// The symbolic links of an absolute path resolved component by component,
/// in one pass that notes where the resolution of each leading part of the
/// path ends. The resolved paths met on the way form a tree of components,
/// kept so that every leading part's resolution can be written out later.
struct LinkResolution {
    struct Node {
        std::size_t parent;
        /// The length of the node's path text, "/" before each name down to its own.
        std::size_t length;
        std::string name;
    };
    static constexpr std::size_t rootNode = 0;

    std::vector<Node> nodes{{rootNode, 0, {}}};
    /// For each component of the path, the node its leading part resolves to.
    std::vector<std::size_t> leadingParts;
    /// The text of the whole path's resolution; empty stands for "/".
    std::string text;

    static LinkResolution of(const std::string& path) {
        LinkResolution resolution;
        resolution.resolve(path);
        return resolution;
    }

private:
    void resolve(const std::string& path) {
        auto at = rootNode;
        int linksFollowed = 0;
        std::deque<std::string> pending;
        for (auto& component : splitComponents(path)) {
            pending.push_back(std::move(component));
            while (!pending.empty()) {
                auto part = std::move(pending.front());
                pending.pop_front();
                if (part == ".") continue;
                if (part == "..") {
                    at = nodes[at].parent;
                    text.resize(nodes[at].length);
                    continue;
                }
                // The candidate is written onto the text in place: a copy
                // for every component would make a long path quadratic.
                auto before = text.size();
                (text += '/') += part;
                if (linksFollowed < maximumLinksFollowed) {
                    if (auto destination = destinationOfSymbolicLink(text)) {
                        ++linksFollowed;
                        text.resize(before);
                        auto inner = splitComponents(*destination);
                        pending.insert(pending.begin(), inner.begin(), inner.end());
                        if (isAbsolute(*destination)) {
                            at = rootNode;
                            text.clear();
                        }
                        continue;
                    }
                }
                nodes.push_back({at, text.size(), std::move(part)});
                at = nodes.size() - 1;
            }
            leadingParts.push_back(at);
        }
    }
};

}  // namespace

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    return homeDirectoryOfUser(::getuid()).value_or("/");
}

Result<std::string> currentDirectoryPath() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return Error::posix(errno, "Cannot read the current directory");
        buffer.resize(buffer.size() * 2);
    }
    // Linux reports a directory it cannot reach from the root as a path
    // beginning "(unreachable)": no path at all.
    if (buffer[0] != '/') return Error::posix(ENOENT, "Cannot read the current directory");
    return std::string(buffer.data());
}

std::string standardizingPath(const std::string& path) { return normalize(expandingTilde(path)); }

Result<std::string> absolutePath(const std::string& path) {
    if (isAbsolute(path)) return normalize(path);
    auto current = currentDirectoryPath();
    if (!current) return std::move(current).error();
    return normalize(*current + "/" + path);
}

std::string resolvingSymlinksInPath(const std::string& path) {
    if (!isAbsolute(path)) return normalize(path);
    auto resolution = LinkResolution::of(path);
    return resolution.text.empty() ? "/" : resolution.text;
}

void visitResolvedAncestors(const std::string& path, const std::function<bool(const std::string&)>& visit) {
    auto resolution = LinkResolution::of(path);
    const auto& nodes = resolution.nodes;
    // The text of node `shown`. Going up, the next node is nearly always an
    // ancestor of the one shown, and the text is only cut short; a link out
    // of the way (absolute, or through "..") makes it be written afresh.
    auto& text = resolution.text;
    auto shown = resolution.leadingParts.empty() ? LinkResolution::rootNode : resolution.leadingParts.back();
    auto show = [&](std::size_t target) {
        auto node = shown;
        while (nodes[node].length > nodes[target].length) node = nodes[node].parent;
        if (node == target) {
            text.resize(nodes[target].length);
        } else {
            std::vector<std::size_t> chain;
            for (node = target; node != LinkResolution::rootNode; node = nodes[node].parent) chain.push_back(node);
            text.clear();
            for (auto at = chain.rbegin(); at != chain.rend(); ++at) (text += '/') += nodes[*at].name;
        }
        shown = target;
    };
    const std::string root = "/";
    for (auto part = resolution.leadingParts.rbegin(); part != resolution.leadingParts.rend(); ++part) {
        show(*part);
        if (!visit(text.empty() ? root : text)) return;
    }
    visit(root);
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

std::string withTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace platform
