#include "cli/Mergetool.hpp"

namespace varn {

// Stands in until the command's hand-off exists.
ap::Result<void> Mergetool::run() {
    return platform::Error{"VarnErrorDomain", 1, "'_mergetool' is not available yet", {}};
}

}  // namespace varn
