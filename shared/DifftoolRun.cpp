#include "shared/DifftoolRun.hpp"

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/SessionDirectory.hpp"
#include "shared/SessionEntries.hpp"
#include "shared/SessionLock.hpp"
#include "shared/SessionRecordJson.hpp"

namespace VarnShared {

platform::Result<std::string> recordDifftoolRun(const DifftoolOptions& options, std::ostream& out) {
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
    if (stored) {
        if (auto end = endOfEntriesInWrittenRecord(*stored)) {
            auto entries = makeEntries(options);
            if (!entries) return std::move(entries).error();
            auto text = insertingEntries(std::move(*stored), *end, *entries);
            if (!text) return std::move(text).error();
            if (auto written = writeSessionRecord(options, *text, out); !written) return std::move(written).error();
            return std::move(*directory);
        }
    }
    std::optional<DiffToolMetaData> record;
    if (stored)
        if (auto decoded = DiffToolMetaData::decode(*stored, path)) record = std::move(*decoded);
    auto extended = record ? adding(std::move(*record), options) : makeSession(options);
    if (!extended) return std::move(extended).error();
    if (auto written = extended->write(out); !written) return std::move(written).error();
    return std::move(*directory);
}

}  // namespace VarnShared
