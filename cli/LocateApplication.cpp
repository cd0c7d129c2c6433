#include "cli/LocateApplication.hpp"

#include "cli/VerboseLog.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/StandardOutput.hpp"

namespace varn {

std::optional<std::string> locateApplication() {
    if (auto home = platform::environmentValue("VARNEL_HOME")) {
        platform::printLine("Using 'VARNEL_HOME' environment variable: " + *home);
        return home;
    }
    const auto& arguments = platform::processArguments();
    if (arguments.empty()) return std::nullopt;
    auto destination = platform::destinationOfSymbolicLink(arguments.front());
    if (!destination) return std::nullopt;
    logVerbose("resolvedPath: " + *destination);
    // The tool lies in Varnel.app/Contents/Resources/ inside the bundle.
    auto bundle = *destination;
    for (int level = 0; level < 3; ++level) bundle = platform::deletingLastPathComponent(bundle);
    if (platform::lastPathComponent(bundle) == "Varnel.app") return bundle;
    return std::nullopt;
}

std::vector<std::string> applicationArguments() {
    if (auto application = locateApplication()) return {"-a", *application};
    return {"-b", bundleIdentifier};
}

}  // namespace varn
