#include "cli/MergeHandOff.hpp"

#include <optional>
#include <vector>

#include "cli/LocateApplication.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/RunOpen.hpp"
#include "cli/ToolErrors.hpp"
#include "shared/MergeToolMetaData.hpp"

namespace varn {
namespace {

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;

/// The current hand-off's watcher, kept until the process ends; storing a
/// new one releases the previous.
std::optional<MergeToolStatusWatcher>& watcherSlot() {
    static std::optional<MergeToolStatusWatcher> slot;
    return slot;
}

}  // namespace

ap::Result<void> mergeHandOff(const std::string& file, std::chrono::milliseconds limit) {
    auto filePath = absoluteFileURL(file);
    auto root = findRepositoryRoot(filePath);
    if (!root) return invalidPathError(filePath);

    auto record = MergeToolMetaData::create(*root, filePath);
    if (!record) return std::move(record).error();

    // Armed before the application can exist, so its verdict cannot come
    // too early to be seen. The watcher's descriptor is close-on-exec: the
    // launcher and the application do not inherit it.
    auto& watcher = watcherSlot();
    watcher.emplace(record->makeStatusWatcher());

    auto arguments = applicationArguments();
    arguments.push_back(record->path);
    // The launcher's own outcome does not matter: only the application's
    // verdict ends the wait. Its process is left to end by itself.
    auto launcher = runOpen(arguments);
    if (!launcher) return std::move(launcher).error();

    auto deadline = MergeToolStatusWatcher::Clock::now() + limit;
    if (auto status = watcher->waitForStatus(deadline)) return ap::ExitCode{*status};
    return {};
}

}  // namespace varn
