#include "cli/ToolErrors.hpp"

namespace varn {

platform::Error repositoryNotFoundError(const std::string& path) {
    return platform::Error{toolErrorDomain, toolErrorCode, "No repository found at: " + path, path};
}

platform::Error invalidPathError(const std::string& path) {
    return platform::Error{toolErrorDomain, toolErrorCode, "Invalid path: " + path, path};
}

}  // namespace varn
