#include "cli/DifftoolHandOff.hpp"

#include "cli/LocateApplication.hpp"
#include "cli/RemoveQuarantine.hpp"
#include "cli/RunOpen.hpp"
#include "shared/DifftoolRun.hpp"

namespace varn {

ap::Result<void> difftoolHandOff(const VarnShared::DifftoolOptions& options) {
    removeQuarantine(options.repo);
    auto directory = VarnShared::recordDifftoolRun(options);
    if (!directory) return std::move(directory).error();
    auto arguments = applicationArguments();
    arguments.push_back(std::move(*directory));
    auto open = runOpen(arguments);
    if (!open) return std::move(open).error();
    auto status = open->waitUntilExit();
    if (!status) return std::move(status).error();
    return ap::ExitCode{*status};
}

}  // namespace varn
