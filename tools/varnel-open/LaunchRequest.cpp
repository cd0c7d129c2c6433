#include "tools/varnel-open/LaunchRequest.hpp"

namespace varnelopen {

platform::Expected<LaunchRequest, UsageError> parseLaunchRequest(const std::vector<std::string>& arguments) {
    LaunchRequest request;
    std::optional<std::string> url, path;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& word = arguments[i];
        auto value = [&](std::optional<std::string>& slot) {
            if (slot || i + 1 >= arguments.size()) return false;
            slot = arguments[++i];
            return true;
        };
        bool accepted;
        if (word == "-a") {
            accepted = value(request.application);
        } else if (word == "-b") {
            accepted = value(request.bundleIdentifier);
        } else if (word == "-u") {
            accepted = value(url);
        } else if (word == "--") {
            accepted = value(path);
        } else if (!word.empty() && word.front() == '-') {
            accepted = false;
        } else {
            accepted = !path && (path = word, true);
        }
        if (!accepted) return UsageError{};
    }
    if (request.application && request.bundleIdentifier) return UsageError{};
    if (url.has_value() == path.has_value()) return UsageError{};
    request.targetIsURL = url.has_value();
    request.target = url ? *url : *path;
    return request;
}

}  // namespace varnelopen
