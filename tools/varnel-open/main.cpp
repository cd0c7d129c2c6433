// varnel-open: the stand-in for the platform launcher. It starts the chosen
// application on a path or URL in a session of its own and exits without
// waiting: 0 once the application runs, 1 with one line on standard error
// when something is missing or the start fails, 2 for bad usage.

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Process.hpp"
#include "tools/varnel-open/ApplicationExecutable.hpp"
#include "tools/varnel-open/LaunchRequest.hpp"

namespace {

platform::Result<void> launch(const varnelopen::LaunchRequest& request) {
    if (!request.targetIsURL) {
        // Only a file or a directory is handed over: an application opening a
        // named pipe or a device would wait on it, or read it without end.
        struct stat s;
        auto refused = [&](const std::string& why) {
            return platform::Error{"VarnelOpenErrorDomain", 1, why + ": " + request.target, request.target};
        };
        if (::stat(request.target.c_str(), &s) != 0) return refused("no such file or directory");
        if (!S_ISREG(s.st_mode) && !S_ISDIR(s.st_mode)) return refused("neither a file nor a directory");
    }
    auto executable = varnelopen::executableFor(request);
    if (!executable) return std::move(executable).error();
    auto started = platform::Process::launch(*executable, {request.target}, {.nullInput = true, .newSession = true});
    if (!started) return std::move(started).error();
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    auto request = varnelopen::parseLaunchRequest(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!request) {
        std::fprintf(stderr, "%s\n", varnelopen::usageLine);
        return 2;
    }
    if (auto launched = launch(*request); !launched) {
        std::fprintf(stderr, "varnel-open: %s\n", launched.error().description.c_str());
        return 1;
    }
    return 0;
}
