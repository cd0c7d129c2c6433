#pragma once
// The errors the tool itself raises; their description is what the
// user reads after "Error: ".

#include <string>

#include "platform/Error.hpp"

namespace varn {

inline constexpr const char* toolErrorDomain = "NSURLErrorDomain";
/// The code the platform gives a URL that names nothing usable.
inline constexpr int toolErrorCode = -3001;

/// No repository holds `path` (an absolute path).
platform::Error repositoryNotFoundError(const std::string& path);
/// `path`, a file to merge, lies in no repository.
platform::Error invalidPathError(const std::string& path);
/// `path`, a file to merge, lies in no repository with a `.git` above it,
/// while git's directory was given through GIT_DIR (a work tree of a bare
/// repository, as for dotfiles): the one place git found it.
platform::Error invalidPathGivenGitDirError(const std::string& path);

}  // namespace varn
