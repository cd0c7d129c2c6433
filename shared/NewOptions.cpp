#include "shared/NewOptions.hpp"

#include <unordered_set>

#include "shared/DiffToolFiles.hpp"

namespace VarnShared {

platform::Result<std::vector<DifftoolOptions>> newOptions(const DiffToolMetaData& record,
                                                          const std::optional<DiffToolMetaData>& previous) {
    using Entry = DiffToolMetaData::Entry;
    std::unordered_set<Entry> seen;
    if (previous) seen.insert(previous->entries.begin(), previous->entries.end());

    std::vector<DifftoolOptions> options;
    // The session's part is the same for every entry; resolving the
    // repository once, for the first new one, keeps the work per entry small.
    std::optional<DifftoolOptions> session;
    for (const Entry& entry : record.entries) {
        if (!seen.insert(entry).second) continue;
        if (!session) {
            auto made = DifftoolOptions::make(
                {.repo = record.repo, .pid = record.pid, .revspecA = record.revspecA, .revspecB = record.revspecB});
            if (!made) return std::move(made).error();
            session = std::move(*made);
        }
        DifftoolOptions next = *session;
        if (auto files = convertDiffToolFiles(next, entry, normalizeFileArgument); !files)
            return std::move(files).error();
        options.push_back(std::move(next));
    }
    return options;
}

}  // namespace VarnShared
