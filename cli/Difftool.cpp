#include "cli/Difftool.hpp"

namespace varn {

// Stands in until the command's hand-off exists.
ap::Result<void> Difftool::run() {
    return platform::Error{"VarnErrorDomain", 1, "'_difftool' is not available yet", {}};
}

}  // namespace varn
