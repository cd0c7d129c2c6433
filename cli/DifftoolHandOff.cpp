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
    return runOpenAndWait(arguments);
}

}  // namespace varn
