#include "cli/DefaultCommand.hpp"

#include "cli/RemoveQuarantine.hpp"
#include "cli/RunOpen.hpp"

namespace varn {

ap::Result<void> DefaultCommand::run() {
    auto root = resolveRepository(*this);
    if (!root) return std::move(root).error();
    removeQuarantine(*root);
    auto open = runOpen({*root});
    if (!open) return std::move(open).error();
    auto status = open->waitUntilExit();
    if (!status) return std::move(status).error();
    return ap::ExitCode{*status};
}

}  // namespace varn
