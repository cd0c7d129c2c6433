#pragma once
// Hand-off directories: where a request for the application is written, and
// how its metadata file is found, written and read.

#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "platform/FileSystem.hpp"
#include "platform/HeldDirectory.hpp"

namespace VarnShared {

/// The metadata file `fileName` inside `directory`.
inline std::string metadataFilePath(const std::string& directory, std::string_view fileName) {
    return directory + "/" + std::string(fileName);
}

/// Something exists at the metadata file's path (links followed).
inline bool metadataFileExists(const std::string& directory, std::string_view fileName) {
    return platform::fileExists(metadataFilePath(directory, fileName));
}

/// The path for a new hand-off: T, checked and created when needed, + "/" +
/// a new UUID. The directory itself is not created yet.
platform::Result<std::string> newHandOffPath();

/// Creates the hand-off directory `directory`, which must not exist yet,
/// private to the user and held open, and writes `json` into the metadata
/// file `fileName` there, complete or not at all. When the file cannot be
/// written the directory is removed again.
platform::Result<platform::HeldDirectory> writeNewHandOff(const std::string& directory, std::string_view fileName,
                                                          std::string_view json);

/// Reads the metadata file `fileName` in `directory` and decodes it as a
/// `Record`, whose `decode(bytes, source)` names the file in its errors.
template <class Record>
platform::Result<Record> readMetadataFile(const std::string& directory, std::string_view fileName) {
    std::string path = metadataFilePath(directory, fileName);
    auto bytes = platform::readFile(path);
    if (!bytes) return std::move(bytes).error();
    return Record::decode(*bytes, path);
}

}  // namespace VarnShared
