#include "tools/varnel-stub/MergeDelivery.hpp"

#include <charconv>
#include <cstdint>
#include <optional>

#include "platform/ProcessInfo.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "tools/varnel-stub/ConflictResolution.hpp"
#include "tools/varnel-stub/RegularFile.hpp"

namespace varnelstub {
namespace {

using VarnShared::MergeToolMetaData;
using Result = MergeToolMetaData::Result;

std::optional<std::int64_t> namedResult(const std::string& action) {
    if (action == "ok") return static_cast<std::int64_t>(Result::ok);
    if (action == "error") return static_cast<std::int64_t>(Result::error);
    if (action == "failedToOpen") return static_cast<std::int64_t>(Result::failedToOpen);
    if (action == "didNotResolve") return static_cast<std::int64_t>(Result::didNotResolve);
    std::int64_t number = 0;
    auto [end, problem] = std::from_chars(action.data(), action.data() + action.size(), number);
    if (problem == std::errc() && end == action.data() + action.size() && !action.empty()) return number;
    return std::nullopt;
}

/// Rewrites the file to merge with every conflict resolved to `side`: the
/// status to report, or the problem together with it.
platform::Expected<std::int64_t, std::pair<std::int64_t, std::string>> resolve(const MergeToolMetaData& record,
                                                                               Side side) {
    auto failed = [](Result result, std::string problem) {
        return std::pair{static_cast<std::int64_t>(result), std::move(problem)};
    };
    auto text = readRegularFile(record.fileToMerge);
    if (!text) return failed(Result::failedToOpen, text.error().description);
    auto resolution = resolveConflicts(*text, side);
    if (!resolution)
        return failed(Result::error, "Cannot resolve " + record.fileToMerge + ": " + resolution.error().description);
    // Written in place, as an editor saves: the file keeps its mode.
    if (resolution->conflicts > 0)
        if (auto written = rewriteRegularFile(record.fileToMerge, resolution->text); !written)
            return failed(Result::failedToOpen, written.error().description);
    return static_cast<std::int64_t>(Result::ok);
}

bool isMergeHandOff(const std::string& target) { return MergeToolMetaData::metadataExists(target); }

platform::Result<std::string> deliverMerge(const std::string& directory) {
    std::string action = platform::environmentValue("VARNEL_STUB_MERGE").value_or("ours");
    if (action.empty()) action = "ours";
    auto detail = [&](std::optional<std::int64_t> status) {
        return action + " -> " + (status ? std::to_string(*status) : "none");
    };
    auto report = [&](const MergeToolMetaData& record, std::int64_t status,
                      std::optional<std::string> problem) -> platform::Result<std::string> {
        auto written = record.writeStatus(status);
        if (!written) return platform::Error{"VarnelStubErrorDomain", 1, written.error().description, directory};
        if (problem)
            return platform::Error{"VarnelStubErrorDomain", 1, *problem + " (" + detail(status) + ")", directory};
        return detail(status);
    };

    auto record = readRecord<MergeToolMetaData>(directory, MergeToolMetaData::fileName);
    // The record is damaged, but the directory is known: the tool hears that
    // the merge could not be opened instead of waiting a day.
    if (!record)
        return report(MergeToolMetaData{.path = directory}, static_cast<std::int64_t>(Result::failedToOpen),
                      record.error().description);
    if (action == "none") return detail(std::nullopt);
    if (action == "ours" || action == "theirs") {
        auto resolved = resolve(*record, action == "ours" ? Side::ours : Side::theirs);
        if (!resolved) return report(*record, resolved.error().first, resolved.error().second);
        return report(*record, *resolved, std::nullopt);
    }
    if (auto status = namedResult(action)) return report(*record, *status, std::nullopt);
    return report(*record, static_cast<std::int64_t>(Result::error),
                  "Unknown VARNEL_STUB_MERGE value '" + action + "'");
}

}  // namespace

const Delivery mergeDelivery{"merge", isMergeHandOff, deliverMerge};

}  // namespace varnelstub
