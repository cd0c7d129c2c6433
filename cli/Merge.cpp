#include "cli/Merge.hpp"

#include "cli/MergeHandOff.hpp"
#include "cli/VerboseLog.hpp"

namespace varn {

ap::Result<void> Merge::run() {
    logVerbose("Running Merge Command\u2026");
    // The application's verdict, or what kept it from coming, ends the run.
    return mergeHandOff(file, MergeRepository::nearest);
}

}  // namespace varn
