#pragma once
// The record of one difftool session: every file pair that one git
// invocation hands over, one run of the tool per pair. It lives in
// ".varnel-difftool" in the session's directory and is rewritten in full by
// every run.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.hpp"
#include "platform/StandardOutput.hpp"
#include "shared/DiffToolSession.hpp"

namespace VarnShared {

struct DiffToolMetaData : DiffToolSession {
    /// The files of one run of the tool (listed in `diffToolFiles`).
    struct Entry {
        std::string base;
        std::string local;
        std::string remote;
        std::string merged;

        /// Every file's text canonically equivalent.
        bool operator==(const Entry& other) const;
    };

    static constexpr std::string_view fileName = ".varnel-difftool";

    std::vector<Entry> entries;

    bool operator==(const DiffToolMetaData&) const = default;

    /// Something exists at `directoryPath` + "/.varnel-difftool".
    static bool metadataExists(const std::string& directoryPath);
    /// The record in `directoryPath`; the read or decoding error otherwise.
    static platform::Result<DiffToolMetaData> readMetadata(const std::string& directoryPath);

    /// The compact JSON text; absent optionals are left out.
    platform::Result<std::string> encode() const;
    /// The record in `bytes`; `source` names their origin in errors.
    static platform::Result<DiffToolMetaData> decode(std::string_view bytes, const std::string& source = "the record");

    /// Writes the record into its session directory, creating the directory
    /// when needed, then prints "Writing to: " and the file's path with `print`.
    /// The file is replaced atomically, so a failed write leaves the earlier
    /// session intact.
    platform::Result<void> write(platform::LinePrinter print = platform::printLine) const;
};

/// Writes `json`, an encoded record, into its session directory
/// `directory`, prepared with `ensureSessionDirectory`, as `write` writes a
/// record.
platform::Result<void> writeSessionRecord(const std::string& directory, std::string_view json,
                                          platform::LinePrinter print = platform::printLine);

/// The record stored for `session`, or nothing when there is none or it
/// cannot be read or decoded (the next write replaces it).
std::optional<DiffToolMetaData> loadSession(const DiffToolSession& session);

}  // namespace VarnShared

template <>
struct std::hash<VarnShared::DiffToolMetaData::Entry> {
    /// Combines the files' texts in order, agreeing with canonical equality.
    std::size_t operator()(const VarnShared::DiffToolMetaData::Entry& entry) const;
};
