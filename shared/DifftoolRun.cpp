#include "shared/DifftoolRun.hpp"

#include "shared/DiffToolMetaData.hpp"
#include "shared/SessionDirectory.hpp"
#include "shared/SessionEntries.hpp"
#include "shared/SessionLock.hpp"

namespace VarnShared {

platform::Result<std::string> recordDifftoolRun(const DifftoolOptions& options, std::ostream& out) {
    auto directory = ensureSessionDirectory(options);
    if (!directory) return std::move(directory).error();
    auto lock = SessionLock::acquire(*directory);
    if (!lock) return std::move(lock).error();

    auto stored = loadSession(options);
    auto record = stored ? adding(std::move(*stored), options) : makeSession(options);
    if (!record) return std::move(record).error();
    if (auto written = record->write(out); !written) return std::move(written).error();
    return std::move(*directory);
}

}  // namespace VarnShared
