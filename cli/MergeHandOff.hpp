#pragma once
// The merge hand-off shared by "merge" and "_mergetool": the conflicted file
// goes to the application in a hand-off directory, and the command ends with
// the number the application writes back.

#include <chrono>
#include <functional>
#include <string>

#include "ArgumentParser/Errors.hpp"
#include "platform/Error.hpp"
#include "shared/MergeToolStatusWatcher.hpp"

namespace varn {

/// How long a hand-off waits for the application's verdict: 24 hours.
inline constexpr std::chrono::seconds mergeWaitLimit{86'400};

/// What a test may change in a hand-off.
struct MergeHandOffSettings {
    /// How long to wait for the verdict.
    std::chrono::milliseconds limit = mergeWaitLimit;
    /// Arms the watch of the hand-off directory.
    std::function<platform::Result<void>(VarnShared::MergeToolStatusWatcher&)> startWatching =
        [](VarnShared::MergeToolStatusWatcher& watcher) { return watcher.startWatching(); };
    /// Called with the hand-off directory's path once the record is written
    /// and watched, before the application is started.
    std::function<void(const std::string&)> beforeLaunch;
};

/// Which repository a file to merge belongs to.
enum class MergeRepository {
    /// The nearest at or above the file, as for any path a user names.
    nearest,
    /// The work tree that holds the file as an entry, as git names the
    /// files it hands its merge tool (see `findRepositoryHolding`).
    holdingTheEntry,
};

/// Resolves `file` (as typed) and its `repository`, writes the record into a
/// new hand-off directory and watches it, starts the launcher on it, and
/// waits until the application reports; the run always ends with what this
/// returns.
///
/// A reported status is an `ap::ExitCode` (see
/// `MergeToolStatusWatcher::exitStatus`); SIGINT, SIGTERM or SIGHUP during
/// the wait, an `ap::ExitCode` of 128 + the signal's number. Everything else
/// is an error: a file outside every repository (saying so when git's
/// directory was given through GIT_DIR, which the record cannot carry), a
/// record that cannot be written (then nothing is launched), a watch that
/// cannot be armed, a launcher that cannot start or fails, a hand-off
/// directory that goes away or is replaced, no verdict within `limit`. Whenever the run ends without
/// a verdict, the hand-off directory is removed.
ap::Error mergeHandOff(const std::string& file, MergeRepository repository, const MergeHandOffSettings& settings = {});

}  // namespace varn
