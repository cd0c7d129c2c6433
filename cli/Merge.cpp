#include "cli/Merge.hpp"

#include "cli/MergeHandOff.hpp"
#include "cli/VerboseLog.hpp"

namespace varn {

ap::Result<void> Merge::run() {
    logVerbose("Running Merge Command\u2026");
    // The application's verdict comes back as an exit status and ends the
    // run here; only a wait that runs out reaches the end.
    if (auto handedOff = mergeHandOff(file); !handedOff) return handedOff;
    logVerbose("Finished");
    return {};
}

}  // namespace varn
