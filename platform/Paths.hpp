#pragma once
// Path texts as the tool's home platform treats them: standardisation,
// absolute forms, symbolic-link resolution and component arithmetic. Paths
// are POSIX texts; a path that cannot be examined is kept as it is. Only
// what needs the current directory can fail: a directory that was removed
// under the process has no path, and no other directory may stand in for
// it.

#include <functional>
#include <string>
#include <vector>

#include "platform/Error.hpp"

namespace platform {

/// The user's home directory: `HOME` when set and not empty, else the
/// password database's entry, else "/".
std::string homeDirectory();

/// The process's current directory; an error when it cannot be read (it
/// was removed, or a directory above it is not searchable).
Result<std::string> currentDirectoryPath();

/// An initial "~" or "~user" expanded to the home directory, doubled
/// separators and "." components removed, "name/.." folded ("/.." is "/",
/// a relative path keeps its leading ".."), a trailing separator dropped
/// except for "/". A relative path that folds away entirely is ".".
std::string standardizingPath(const std::string& path);

/// `path` taken relative to the current directory when it is relative,
/// then standardised (without "~" expansion: "~" is an ordinary name here).
/// Fails only for a relative path when the current directory cannot be read.
Result<std::string> absolutePath(const std::string& path);

/// Every symbolic link in an absolute path resolved, component by
/// component; relative destinations count from the link's directory, and
/// ".." after a resolved link leaves the link's destination. Components
/// that do not exist are kept as they are. Links are followed at most 40
/// times; a link met after that stays unresolved. A relative path is only
/// standardised.
std::string resolvingSymlinksInPath(const std::string& path);

/// Calls `visit` with the absolute `path` and then with each of its parents
/// up to "/", every one with its symbolic links resolved as
/// `resolvingSymlinksInPath` does, until `visit` returns false. The parents
/// are those of the path as given: "/a/link/b" visits the resolutions of
/// "/a/link/b", "/a/link", "/a" and "/". One pass resolves them all, so the
/// walk takes time linear in the length of the path.
void visitResolvedAncestors(const std::string& path, const std::function<bool(const std::string&)>& visit);

/// "/a/b" → "b", "/a/b/" → "b", "/" → "/", "" → "".
std::string lastPathComponent(const std::string& path);

/// "/a/b" → "/a", "/a" → "/", "/" → "/", "a" → "".
std::string deletingLastPathComponent(const std::string& path);

/// "/a/b" → {"/", "a", "b"}, "a//b/" → {"a", "b"}: an absolute path's first
/// component is "/"; empty components and a trailing separator count for
/// nothing.
std::vector<std::string> pathComponents(const std::string& path);

/// `path` and `component` joined by one separator ("" and "a" → "a";
/// "/" and "a" → "/a"); doubled and trailing separators are dropped.
std::string appendingPathComponent(const std::string& path, const std::string& component);

/// `path` ending in one "/" more unless it ends in one already ("" → "/").
std::string withTrailingSlash(std::string path);

}  // namespace platform
