#include "shared/MergeToolStatusWatcher.hpp"

#include "platform/FileSystem.hpp"

namespace VarnShared {

MergeToolStatusWatcher::MergeToolStatusWatcher(std::string metadataPath)
    : metadataPath_(std::move(metadataPath)), statusPath_(metadataPath_ + "/status") {}

bool MergeToolStatusWatcher::startWatching(const std::string& directory) {
    return static_cast<bool>(watcher_.watch(directory));
}

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

std::optional<std::int32_t> MergeToolStatusWatcher::checkStatus() {
    if (!platform::fileExists(statusPath_)) return std::nullopt;
    // Only a plain file short enough to be a number is read: whatever else
    // stands at the name (a pipe, a device, a huge file) must neither block
    // the wait nor fill the memory.
    auto text = platform::readSmallFile(statusPath_, maximumStatusLength);
    if (!text || text->empty()) return std::nullopt;
    auto status = parseStatus(*text);
    if (!status) return std::nullopt;
    // The verdict stands even when the directory cannot be removed.
    (void)platform::removeRecursively(metadataPath_);
    return status;
}

std::optional<std::int32_t> MergeToolStatusWatcher::handleEvents() {
    if (!watcher_.takeChanges()) return std::nullopt;
    return checkStatus();
}

std::optional<std::int32_t> MergeToolStatusWatcher::waitForStatus(Clock::time_point deadline) {
    while (watcher_.waitForChange(deadline) == platform::DirectoryWatcher::Wait::changed) {
        if (auto status = checkStatus()) return status;
    }
    return std::nullopt;
}

}  // namespace VarnShared
