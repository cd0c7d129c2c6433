#pragma once
// Watches for the application's verdict on a merge. The application writes
// the file "status" into the hand-off directory, complete in one step; the
// watcher notices the change of the directory's entries, reads the number,
// removes the hand-off directory and hands the number back, which the merge
// command turns into its exit status. The merge command's wait sleeps on
// the watcher's descriptor.
//
// The watcher holds the hand-off directory that the run created, open, and
// believes only a status found in that very directory while its path still
// names it and its record is still there: a directory removed (its record
// goes first), renamed, replaced or turned into a link is an error, never a
// verdict.
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
#include "platform/HeldDirectory.hpp"

namespace VarnShared {

class MergeToolStatusWatcher {
public:
    /// The clock of the deadline of a wait for the verdict.
    using Clock = std::chrono::steady_clock;
    /// A verdict, nothing yet, or the error that no verdict can come any more.
    using Outcome = platform::Result<std::optional<std::int32_t>>;

    /// A watcher of the hand-off directory held as `directory`, not watching yet.
    explicit MergeToolStatusWatcher(platform::HeldDirectory directory);

    const std::string& metadataPath() const { return directory_.path(); }
    /// `metadataPath` + "/status".
    const std::string& statusPath() const { return statusPath_; }

    /// Starts watching the directory.
    platform::Result<void> startWatching();
    bool isWatching() const { return watcher_.isWatching(); }

    /// Readable when directory events are pending, for the wait for the
    /// verdict, which sleeps on it and other descriptors; -1 when not
    /// watching.
    int descriptor() const { return watcher_.descriptor(); }

    /// The longest status text read; a longer file is no verdict. Leading
    /// zeros beyond it are the one valid form given up.
    static constexpr std::size_t maximumStatusLength = 4096;

    /// Succeeds while the directory's path still names the directory held,
    /// and the record is still in it.
    platform::Result<void> checkDirectory() const;

    /// Looks at the status file once. When the directory is no longer at its
    /// path, or the file is there but cannot be opened, examined or read, an
    /// error. When it holds a valid number, removes the hand-off directory (a
    /// failure to remove is ignored) and returns the number. A missing or
    /// empty file, anything but a regular file (a link is not followed), a
    /// file longer than `maximumStatusLength`, or text that is not a number,
    /// gives nothing.
    Outcome checkStatus();

    /// Consumes pending events without waiting and checks the status when
    /// the directory changed; an error when the watch was lost.
    Outcome handleEvents();

    /// Removes the hand-off directory, as long as it is still where it was
    /// created; for a run that ends without a verdict.
    void removeDirectory() const { (void)directory_.remove(); }

    /// The number in a status text: an optional "+" or "-", then one or more
    /// digits and nothing else, within the 32-bit signed range.
    static std::optional<std::int32_t> parseStatus(std::string_view text);

    /// The exit status that reports `status`: its value modulo 256, except
    /// that a number other than 0 never becomes 0 (it becomes 255).
    static int exitStatus(std::int32_t status);

private:
    platform::DirectoryWatcher watcher_;
    std::string statusPath_;
    // Closed before the watch: a watch whose directory is gone ends at once,
    // one on a directory still there takes the kernel a while.
    platform::HeldDirectory directory_;
};

}  // namespace VarnShared
