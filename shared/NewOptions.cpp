#include "shared/NewOptions.hpp"

#include <unordered_set>

namespace VarnShared {

std::vector<DifftoolOptions> newOptions(const DiffToolMetaData& record,
                                        const std::optional<DiffToolMetaData>& previous) {
    using Entry = DiffToolMetaData::Entry;
    std::unordered_set<Entry> seen;
    if (previous) seen.insert(previous->entries.begin(), previous->entries.end());

    std::vector<DifftoolOptions> options;
    for (const Entry& entry : record.entries) {
        if (!seen.insert(entry).second) continue;
        if (options.empty()) {
            options.emplace_back(record.repo, record.pid, record.revspecA, record.revspecB, entry.base, entry.local,
                                 entry.remote, entry.merged);
            continue;
        }
        // The session's part is the same for every entry; resolving the
        // repository once keeps the work per entry small.
        DifftoolOptions next = options.front();
        next.base = normalizeFileArgument(entry.base);
        next.local = normalizeFileArgument(entry.local);
        next.remote = normalizeFileArgument(entry.remote);
        next.merged = normalizeFileArgument(entry.merged);
        options.push_back(std::move(next));
    }
    return options;
}

}  // namespace VarnShared
