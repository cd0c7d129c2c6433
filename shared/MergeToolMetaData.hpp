#pragma once
// The record of one merge hand-off: which file of which repository the
// application is to merge, and the hand-off directory that holds the record
// (".varnel-mergetool") and, once the merge ends, the status file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "platform/HeldDirectory.hpp"

namespace VarnShared {

struct HeldMergeHandOff;

struct MergeToolMetaData {
    /// How a merge ended, as the application reports it. The raw value is
    /// the number in the status file.
    enum class Result : std::int64_t {
        ok = 0,
        error = -1,
        /// The application failed to open the merge.
        failedToOpen = -2,
        /// The merge was left unresolved.
        didNotResolve = -3,
    };

    static constexpr std::string_view fileName = ".varnel-mergetool";

    /// The repository root.
    std::string repo;
    /// The absolute path of the conflicted file.
    std::string fileToMerge;
    /// The hand-off directory.
    std::string path;

    bool operator==(const MergeToolMetaData&) const = default;

    /// The result with this raw value: only 0, -1, -2 and -3 have one.
    static std::optional<Result> resultFromRawValue(std::int64_t rawValue);

    static bool metadataExists(const std::string& directoryPath);
    static platform::Result<MergeToolMetaData> readMetadata(const std::string& directoryPath);

    /// A new hand-off: T + "/" + a new UUID, created private to the user,
    /// with the record written into it.
    static platform::Result<MergeToolMetaData> create(const std::string& repo, const std::string& fileToMerge);
    /// The same, with the directory held open from its creation on: what a
    /// merge run watches.
    static platform::Result<HeldMergeHandOff> createHeld(const std::string& repo, const std::string& fileToMerge);

    platform::Result<std::string> encode() const;
    static platform::Result<MergeToolMetaData> decode(std::string_view bytes, const std::string& source = "the record");

    /// `path` + "/status".
    std::string statusPath() const { return path + "/status"; }

    /// Reports the outcome (for the application): the raw value in decimal,
    /// moved into place complete. Does nothing, successfully, when the
    /// hand-off directory is not writable.
    platform::Result<void> writeStatus(Result result) const;
    /// The same for any number; the tool exits with it modulo 256, or with
    /// 255 for a multiple of 256 other than 0.
    platform::Result<void> writeStatus(std::int64_t rawValue) const;
};

/// A merge hand-off as its creator holds it.
struct HeldMergeHandOff {
    MergeToolMetaData record;
    platform::HeldDirectory directory;
};

}  // namespace VarnShared
