#include "shared/MergeToolMetaData.hpp"

#include "platform/FileSystem.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/RecordJson.hpp"

namespace VarnShared {

std::optional<MergeToolMetaData::Result> MergeToolMetaData::resultFromRawValue(std::int64_t rawValue) {
    switch (rawValue) {
        case 0: return Result::ok;
        case -1: return Result::error;
        case -2: return Result::failedToOpen;
        case -3: return Result::didNotResolve;
        default: return std::nullopt;
    }
}

bool MergeToolMetaData::metadataExists(const std::string& directoryPath) {
    return metadataFileExists(directoryPath, fileName);
}

platform::Result<MergeToolMetaData> MergeToolMetaData::readMetadata(const std::string& directoryPath) {
    return readMetadataFile<MergeToolMetaData>(directoryPath, fileName);
}

platform::Result<MergeToolMetaData> MergeToolMetaData::create(const std::string& repo, const std::string& fileToMerge) {
    auto created = createHeld(repo, fileToMerge);
    if (!created) return std::move(created).error();
    return std::move(created->record);
}

platform::Result<HeldMergeHandOff> MergeToolMetaData::createHeld(const std::string& repo,
                                                                 const std::string& fileToMerge) {
    auto path = newHandOffPath();
    if (!path) return std::move(path).error();
    MergeToolMetaData record{repo, fileToMerge, std::move(*path)};
    auto json = record.encode();
    if (!json) return std::move(json).error();
    auto directory = writeNewHandOff(record.path, fileName, *json);
    if (!directory) return std::move(directory).error();
    return HeldMergeHandOff{std::move(record), std::move(*directory)};
}

platform::Result<std::string> MergeToolMetaData::encode() const {
    return encodeRecord({{"repo", repo}, {"fileToMerge", fileToMerge}, {"path", path}});
}

platform::Result<MergeToolMetaData> MergeToolMetaData::decode(std::string_view bytes, const std::string& source) {
    MergeToolMetaData record;
    auto decoded = decodeTextMembers(
        bytes, source, {{"repo", &record.repo}, {"fileToMerge", &record.fileToMerge}, {"path", &record.path}});
    if (!decoded) return std::move(decoded).error();
    return record;
}

platform::Result<void> MergeToolMetaData::writeStatus(Result result) const {
    return writeStatus(static_cast<std::int64_t>(result));
}

platform::Result<void> MergeToolMetaData::writeStatus(std::int64_t rawValue) const {
    if (!platform::isWritable(path)) return {};
    // Moved into place complete: the watcher may look the moment the name
    // appears, and must never find it empty or half written.
    return platform::writeFileAtomically(statusPath(), std::to_string(rawValue));
}

}  // namespace VarnShared
