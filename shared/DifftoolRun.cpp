#include "shared/DifftoolRun.hpp"

#include <cerrno>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/SessionDirectory.hpp"
#include "shared/SessionEntries.hpp"
#include "shared/SessionLock.hpp"
#include "shared/SessionRecordJson.hpp"

namespace VarnShared {

platform::Result<std::string> recordDifftoolRun(const DifftoolOptions& options, platform::LinePrinter print) {
    auto directory = ensureSessionDirectory(options);
    if (!directory) return std::move(directory).error();
    auto lock = SessionLock::acquire(*directory);
    if (!lock) return std::move(lock).error();

    // A record as this program writes it is extended as text: decoding and
    // encoding a session of thousands of entries would be most of a run.
    // Any other record read whole is decoded, and one that is not in the
    // session's form is replaced. A record that is there but cannot be read
    // is kept as it is: its entries are not to be lost to a passing fault.
    auto path = metadataFilePath(*directory, DiffToolMetaData::fileName);
    std::optional<std::string> stored;
    if (auto read = platform::readFile(path)) {
        stored = std::move(*read);
    } else if (read.error().code != ENOENT) {
        return std::move(read).error();
    }
    auto endOfEntries = stored ? endOfEntriesInWrittenRecord(*stored) : std::nullopt;
    std::optional<DiffToolMetaData> record;
    if (stored && !endOfEntries)
        if (auto decoded = DiffToolMetaData::decode(*stored, path)) record = std::move(*decoded);

    auto entries = makeEntries(options, *directory);
    if (!entries) return std::move(entries).error();
    platform::Result<std::string> text = std::string();
    if (endOfEntries) {
        text = insertingEntries(std::move(*stored), *endOfEntries, *entries);
    } else {
        if (!record) static_cast<DiffToolSession&>(record.emplace()) = options;
        for (const auto& entry : *entries) record->entries.push_back(entry);
        text = record->encode();
    }
    if (!text) {
        removeCopies(*entries, *directory);
        return std::move(text).error();
    }
    if (auto written = writeSessionRecord(*directory, *text, print); !written) {
        // A replacement can fail after the new record took its place (the
        // old one could neither be removed nor put back): the copies it
        // names then stay with it. They go when no record, or another,
        // is seen there.
        auto onDisk = platform::readFile(path);
        if (onDisk ? *onDisk != *text : onDisk.error().code == ENOENT) removeCopies(*entries, *directory);
        return std::move(written).error();
    }
    return std::move(*directory);
}

}  // namespace VarnShared
