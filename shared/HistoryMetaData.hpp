#pragma once
// The record of one history hand-off, a request about the history of one
// file. Only the application side creates it; it lives in ".varnel-history"
// in a hand-off directory of its own.

#include <string>
#include <string_view>

#include "platform/Error.hpp"

namespace VarnShared {

struct HistoryMetaData {
    static constexpr std::string_view fileName = ".varnel-history";

    /// The repository root.
    std::string repo;
    /// The file whose history is wanted.
    std::string historyFile;
    /// The hand-off directory.
    std::string path;

    bool operator==(const HistoryMetaData&) const = default;

    static bool metadataExists(const std::string& directoryPath);
    static platform::Result<HistoryMetaData> readMetadata(const std::string& directoryPath);

    /// A new hand-off: T + "/" + a new UUID, created, with the record
    /// written into it.
    static platform::Result<HistoryMetaData> create(const std::string& repo, const std::string& historyFile);

    platform::Result<std::string> encode() const;
    static platform::Result<HistoryMetaData> decode(std::string_view bytes, const std::string& source = "the record");
};

}  // namespace VarnShared
