#pragma once
// Waits for the application's verdict on a merge. The application writes
// the file "status" into the hand-off directory, complete in one step; the
// watcher notices the change of the directory's entries, reads the number,
// removes the hand-off directory and hands the number back, which the merge
// command turns into its exit status.
//
// The status is only looked at when the directory's entries change: a file
// that is filled in place after its creation is seen only at the next
// change, and one that is there before watching starts, likewise.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DirectoryWatcher.hpp"

namespace VarnShared {

class MergeToolStatusWatcher {
public:
    using Clock = platform::DirectoryWatcher::Clock;

    /// A watcher of the hand-off directory `metadataPath`, not watching yet.
    explicit MergeToolStatusWatcher(std::string metadataPath);

    const std::string& metadataPath() const { return metadataPath_; }
    /// `metadataPath` + "/status".
    const std::string& statusPath() const { return statusPath_; }

    /// Starts watching `directory`; false when it cannot be watched, in
    /// which case the watcher never reports.
    bool startWatching(const std::string& directory);
    bool isWatching() const { return watcher_.isWatching(); }

    /// Readable when directory events are pending, for a caller that waits
    /// on several descriptors; -1 when not watching.
    int descriptor() const { return watcher_.descriptor(); }

    /// The longest status text read; a longer file is no verdict. Leading
    /// zeros beyond it are the one valid form given up.
    static constexpr std::size_t maximumStatusLength = 4096;

    /// Looks at the status file once: when it holds a valid number, removes
    /// the hand-off directory (a failure to remove is ignored) and returns
    /// the number. A missing, unreadable or empty file, anything but a
    /// regular file (links followed), a file longer than
    /// `maximumStatusLength`, or text that is not a number, gives nothing.
    std::optional<std::int32_t> checkStatus();

    /// Consumes pending events without waiting and checks the status when
    /// the directory changed.
    std::optional<std::int32_t> handleEvents();

    /// Sleeps until a valid status arrives, checking at every change, or
    /// until `deadline`, which gives nothing.
    std::optional<std::int32_t> waitForStatus(Clock::time_point deadline);

    /// The number in a status text: an optional "+" or "-", then one or more
    /// digits and nothing else, within the 32-bit signed range.
    static std::optional<std::int32_t> parseStatus(std::string_view text);

private:
    std::string metadataPath_;
    std::string statusPath_;
    platform::DirectoryWatcher watcher_;
};

}  // namespace VarnShared
