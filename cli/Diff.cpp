#include "cli/Diff.hpp"

namespace varn {

// Stands in until the command's hand-off exists.
ap::Result<void> Diff::run() {
    return platform::Error{"VarnErrorDomain", 1, "'diff' is not available yet", {}};
}

}  // namespace varn
