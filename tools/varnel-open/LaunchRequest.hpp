#pragma once
// The launcher's command line:
//   varnel-open [-a APPLICATION | -b BUNDLE_ID] (-u URL | PATH)
// in any order; "--" makes the next word the PATH even when it starts with "-".

#include <optional>
#include <string>
#include <vector>

#include "platform/Expected.hpp"

namespace varnelopen {

inline constexpr const char* usageLine = "usage: varnel-open [-a APPLICATION | -b BUNDLE_ID] (-u URL | PATH)";

struct LaunchRequest {
    std::optional<std::string> application;
    std::optional<std::string> bundleIdentifier;
    /// The URL or the path, as given.
    std::string target;
    bool targetIsURL = false;
};

/// The command line is not of the launcher's form.
struct UsageError {};

platform::Expected<LaunchRequest, UsageError> parseLaunchRequest(const std::vector<std::string>& arguments);

}  // namespace varnelopen
