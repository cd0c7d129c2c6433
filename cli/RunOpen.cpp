#include "cli/RunOpen.hpp"

namespace varn {

platform::Result<platform::Process> runOpen(const std::vector<std::string>& arguments) {
    auto launcher = openLauncherPath();
    if (!launcher) return std::move(launcher).error();
    return platform::Process::launch(*launcher, arguments);
}

ap::Result<void> runOpenAndWait(const std::vector<std::string>& arguments) {
    auto open = runOpen(arguments);
    if (!open) return std::move(open).error();
    auto status = open->waitUntilExit();
    if (!status) return std::move(status).error();
    return ap::ExitCode{*status};
}

}  // namespace varn
