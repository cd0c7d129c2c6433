#include "shared/NewOptions.hpp"

#include <unordered_set>

namespace VarnShared {

platform::Result<std::vector<DifftoolOptions>> newOptions(const DiffToolMetaData& record,
                                                          const std::optional<DiffToolMetaData>& previous) {
    using Entry = DiffToolMetaData::Entry;
    std::unordered_set<Entry> seen;
    if (previous) seen.insert(previous->entries.begin(), previous->entries.end());

    std::vector<DifftoolOptions> options;
    for (const Entry& entry : record.entries) {
        if (!seen.insert(entry).second) continue;
        if (options.empty()) {
            auto first = DifftoolOptions::make({record.repo, record.pid, record.revspecA, record.revspecB, entry.base,
                                                entry.local, entry.remote, entry.merged});
            if (!first) return std::move(first).error();
            options.push_back(std::move(*first));
            continue;
        }
        // The session's part is the same for every entry; resolving the
        // repository once keeps the work per entry small.
        DifftoolOptions next = options.front();
        for (auto [from, to] : {std::pair{&entry.base, &next.base}, std::pair{&entry.local, &next.local},
                                std::pair{&entry.remote, &next.remote}, std::pair{&entry.merged, &next.merged}}) {
            auto normalized = normalizeFileArgument(*from);
            if (!normalized) return std::move(normalized).error();
            *to = std::move(*normalized);
        }
        options.push_back(std::move(next));
    }
    return options;
}

}  // namespace VarnShared
