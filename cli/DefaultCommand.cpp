#include "cli/DefaultCommand.hpp"

#include "cli/RemoveQuarantine.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/RunOpen.hpp"

namespace varn {

ap::Result<void> DefaultCommand::run() {
    auto root = resolveRepository(*this);
    if (!root) return std::move(root).error();
    removeQuarantine(*root);
    return runOpenAndWait({*root});
}

}  // namespace varn
