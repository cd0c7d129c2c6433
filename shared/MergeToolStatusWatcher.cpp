#include "shared/MergeToolStatusWatcher.hpp"

#include <cerrno>

#include "shared/MergeToolMetaData.hpp"

namespace VarnShared {

MergeToolStatusWatcher::MergeToolStatusWatcher(platform::HeldDirectory directory)
    : statusPath_(directory.path() + "/status"), directory_(std::move(directory)) {}

platform::Result<void> MergeToolStatusWatcher::startWatching() { return watcher_.watch(directory_); }

std::optional<std::int32_t> MergeToolStatusWatcher::parseStatus(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated as a magnitude, so -2147483648 fits and leading zeros of
    // any length are fine.
    constexpr std::int64_t limit = 2147483648;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) return std::nullopt;
    }
    if (!negative && magnitude == limit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

int MergeToolStatusWatcher::exitStatus(std::int32_t status) {
    // git takes 0 for a resolved merge: 256 must not pass for it.
    int low = status & 0xff;
    return low == 0 && status != 0 ? 255 : low;
}

platform::Result<void> MergeToolStatusWatcher::checkDirectory() const {
    // A directory held open has no removal event of its own; its record,
    // removed first, tells instead.
    auto atItsPath = directory_.isAtItsPath();
    if (!atItsPath) return std::move(atItsPath).error();
    auto record = *atItsPath ? directory_.contains(std::string(MergeToolMetaData::fileName)) : false;
    if (!record) return std::move(record).error();
    if (*record) return {};
    return platform::Error{"NSPOSIXErrorDomain", ENOENT,
                           "The hand-off directory " + metadataPath() +
                               " was removed or replaced before the application answered",
                           metadataPath()};
}

MergeToolStatusWatcher::Outcome MergeToolStatusWatcher::checkStatus() {
    // Only a plain file short enough to be a number is read: whatever else
    // stands at the name (a link, a pipe, a device, a huge file) must
    // neither block the wait nor fill the memory.
    auto text = directory_.readSmallFile("status", maximumStatusLength);
    // What the held directory holds is the application's answer only while
    // the application still finds that directory at its path.
    if (auto checked = checkDirectory(); !checked) return std::move(checked).error();
    if (!text) {
        if (text.error().code == ENOENT) return std::nullopt;
        // The verdict is there and cannot be known: waiting on would only
        // wait out the limit.
        return std::move(text).error();
    }
    if (!*text || (*text)->empty()) return std::nullopt;
    auto status = parseStatus(**text);
    if (!status) return std::nullopt;
    // The verdict stands even when the directory cannot be removed.
    removeDirectory();
    return status;
}

MergeToolStatusWatcher::Outcome MergeToolStatusWatcher::handleEvents() {
    switch (watcher_.takeChanges()) {
        case platform::DirectoryWatcher::Change::none: return std::nullopt;
        case platform::DirectoryWatcher::Change::lost: {
            // Nothing will be heard any more; most often the directory is
            // gone, which says more than a lost watch.
            auto checked = checkDirectory();
            if (!checked) return std::move(checked).error();
            return platform::Error{"NSPOSIXErrorDomain", ENOENT, "Cannot watch " + metadataPath() + " any more",
                                   metadataPath()};
        }
        case platform::DirectoryWatcher::Change::changed: break;
    }
    return checkStatus();
}

}  // namespace VarnShared
