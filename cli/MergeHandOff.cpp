#include "cli/MergeHandOff.hpp"

#include <signal.h>

#include <vector>

#include "cli/LocateApplication.hpp"
#include "cli/MergeWait.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/RunOpen.hpp"
#include "cli/ToolErrors.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/SignalPipe.hpp"
#include "shared/MergeToolMetaData.hpp"

namespace varn {

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;

ap::Error mergeHandOff(const std::string& file, MergeRepository repository, const MergeHandOffSettings& settings) {
    auto filePath = absoluteFileURL(file);
    if (!filePath) return std::move(filePath).error();
    auto root = repository == MergeRepository::nearest ? findRepositoryRoot(*filePath)
                                                       : findRepositoryHolding(*filePath);
    if (!root) {
        // git finds a work tree without a .git (a bare repository for
        // dotfiles) only when told its directory; the application is told
        // nothing but the file, so it could not open it either.
        auto gitDirectory = platform::environmentValue("GIT_DIR");
        return gitDirectory && !gitDirectory->empty() ? invalidPathGivenGitDirError(*filePath)
                                                      : invalidPathError(*filePath);
    }

    // Caught before the hand-off directory exists, so that no interruption
    // leaves it behind, and before the launcher starts, so that its end is
    // heard.
    auto signals = platform::SignalPipe::catching({SIGINT, SIGTERM, SIGHUP, SIGCHLD});
    if (!signals) return std::move(signals).error();

    auto created = MergeToolMetaData::createHeld(*root, *filePath);
    if (!created) return std::move(created).error();
    // Armed before the application can exist, so its verdict cannot come
    // too early to be seen. The watcher's descriptors are close-on-exec: the
    // launcher and the application do not inherit them.
    MergeToolStatusWatcher watcher(std::move(created->directory));
    auto abandon = [&](ap::Error error) {
        watcher.removeDirectory();
        return error;
    };
    if (auto watching = settings.startWatching(watcher); !watching) return abandon(std::move(watching).error());

    if (settings.beforeLaunch) settings.beforeLaunch(watcher.metadataPath());
    // The application is handed a path: it must still lead to the directory
    // created, or the application would read someone else's request.
    if (auto unchanged = watcher.checkDirectory(); !unchanged) return abandon(std::move(unchanged).error());

    auto arguments = applicationArguments();
    arguments.push_back(created->record.path);
    auto launcher = runOpen(arguments);
    if (!launcher) return abandon(std::move(launcher).error());
    return awaitVerdict(watcher, *launcher, *signals, MergeToolStatusWatcher::Clock::now() + settings.limit);
}

}  // namespace varn
