#include "cli/Merge.hpp"

namespace varn {

// Stands in until the command's hand-off exists.
ap::Result<void> Merge::run() {
    return platform::Error{"VarnErrorDomain", 1, "'merge' is not available yet", {}};
}

}  // namespace varn
