#include "shared/DifftoolRun.hpp"

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
    // Any other readable record is decoded; an unreadable one is replaced.
    auto path = metadataFilePath(*directory, DiffToolMetaData::fileName);
    std::optional<std::string> stored;
    if (auto read = platform::readFile(path)) stored = std::move(*read);
    auto endOfEntries = stored ? endOfEntriesInWrittenRecord(*stored) : std::nullopt;
    std::optional<DiffToolMetaData> record;
    if (stored && !endOfEntries)
        if (auto decoded = DiffToolMetaData::decode(*stored, path)) record = std::move(*decoded);

    auto entries = makeEntries(options);
    if (!entries) return std::move(entries).error();
    platform::Result<std::string> text = std::string();
    if (endOfEntries) {
        text = insertingEntries(std::move(*stored), *endOfEntries, *entries);
    } else {
        if (!record) static_cast<DiffToolSession&>(record.emplace()) = options;
        for (const auto& entry : *entries) record->entries.push_back(entry);
        text = record->encode();
    }
    if (text)
        if (auto written = writeSessionRecord(options, *text, print); !written) text = std::move(written).error();
    if (!text) {
        removeCopies(*entries, options);
        return std::move(text).error();
    }
    return std::move(*directory);
}

}  // namespace VarnShared
