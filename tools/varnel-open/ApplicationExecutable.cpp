#include "tools/varnel-open/ApplicationExecutable.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"

namespace varnelopen {

namespace {

constexpr const char* domain = "VarnelOpenErrorDomain";

bool isExecutableFile(const std::string& path) {
    struct stat s;
    return ::stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

platform::Error failure(std::string description, std::string path) {
    return platform::Error{domain, 1, std::move(description), std::move(path)};
}

}  // namespace

platform::Result<std::string> executableOfApplication(const std::string& given) {
    // Started by its full path, never looked up: a relative application
    // counts from where the launcher was started.
    auto absolute = platform::absolutePath(given);
    if (!absolute) return std::move(absolute).error();
    const std::string& application = *absolute;
    auto name = platform::lastPathComponent(application);
    constexpr std::string_view suffix = ".app";
    if (platform::isDirectory(application) && name.size() > suffix.size() && name.ends_with(suffix)) {
        auto executable = platform::appendingPathComponent(application,
                                                           "Contents/MacOS/" +
                                                               name.substr(0, name.size() - suffix.size()));
        if (isExecutableFile(executable)) return executable;
        return failure("application has no executable " + executable, given);
    }
    if (isExecutableFile(application)) return application;
    return failure("no such application: " + given, given);
}

std::string registrationDirectory() {
    auto dataHome = platform::environmentValue("XDG_DATA_HOME");
    auto base = dataHome && !dataHome->empty()
                    ? *dataHome
                    : platform::appendingPathComponent(platform::homeDirectory(), ".local/share");
    return platform::appendingPathComponent(base, "varnel/applications");
}

platform::Result<std::string> executableOfBundle(const std::string& bundleIdentifier) {
    auto directory = registrationDirectory();
    // An identifier is one name; anything that could lead out of the
    // registration directory is no registered identifier.
    bool oneName = !bundleIdentifier.empty() && bundleIdentifier.find('/') == std::string::npos &&
                   bundleIdentifier != "." && bundleIdentifier != "..";
    auto registration = platform::appendingPathComponent(directory, bundleIdentifier);
    if (!oneName || !platform::fileExists(registration))
        return failure("no application registered for " + bundleIdentifier + " in " + directory, registration);
    // A link takes the name of what it points at, so "X.app" is seen.
    auto absolute = platform::absolutePath(registration);
    if (!absolute) return std::move(absolute).error();
    return executableOfApplication(platform::resolvingSymlinksInPath(*absolute));
}

platform::Result<std::string> systemOpener() {
    constexpr const char* opener = "xdg-open";
    auto path = platform::environmentValue("PATH").value_or("/usr/bin:/bin");
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        auto directory = path.substr(start, end - start);
        start = end + 1;
        // An empty or relative entry names whatever directory the launcher
        // happens to start in, where anyone may have left a program.
        if (!directory.starts_with('/')) continue;
        auto candidate = platform::appendingPathComponent(directory, opener);
        if (isExecutableFile(candidate)) return candidate;
    }
    return failure(std::string(opener) + " not found on PATH", opener);
}

platform::Result<std::string> executableFor(const LaunchRequest& request) {
    if (request.application) return executableOfApplication(*request.application);
    if (request.bundleIdentifier) return executableOfBundle(*request.bundleIdentifier);
    return systemOpener();
}

}  // namespace varnelopen
