#pragma once
// Which application the launcher is to use: the one VARNEL_HOME names, the
// bundle the tool lives in, or the one registered for the bundle identifier.

#include <optional>
#include <string>
#include <vector>

namespace varn {

/// The product's bundle identifier, fixed at build time.
inline constexpr const char* bundleIdentifier = VARN_BUNDLE_IDENTIFIER;

/// VARNEL_HOME's value when it is set, empty or not (announced on standard
/// output); else the "Varnel.app" bundle three levels above the
/// destination of the link the tool was started through; else nothing.
std::optional<std::string> locateApplication();

/// "-a" and the located application, or "-b" and the bundle identifier.
std::vector<std::string> applicationArguments();

}  // namespace varn
