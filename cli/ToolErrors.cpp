#include "cli/ToolErrors.hpp"

namespace varn {

platform::Error repositoryNotFoundError(const std::string& path) {
    return platform::Error{toolErrorDomain, toolErrorCode, "No repository found at: " + path, path};
}

platform::Error invalidPathError(const std::string& path) {
    return platform::Error{toolErrorDomain, toolErrorCode, "Invalid path: " + path, path};
}

platform::Error invalidPathGivenGitDirError(const std::string& path) {
    return platform::Error{toolErrorDomain, toolErrorCode,
                           "Invalid path: " + path + " (no .git above it; git's directory was given through GIT_DIR)",
                           path};
}

}  // namespace varn
