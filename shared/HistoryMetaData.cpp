#include "shared/HistoryMetaData.hpp"

#include "shared/HandOffDirectory.hpp"
#include "shared/RecordJson.hpp"

namespace VarnShared {

bool HistoryMetaData::metadataExists(const std::string& directoryPath) {
    return metadataFileExists(directoryPath, fileName);
}

platform::Result<HistoryMetaData> HistoryMetaData::readMetadata(const std::string& directoryPath) {
    return readMetadataFile<HistoryMetaData>(directoryPath, fileName);
}

platform::Result<HistoryMetaData> HistoryMetaData::create(const std::string& repo, const std::string& historyFile) {
    auto path = newHandOffPath();
    if (!path) return std::move(path).error();
    HistoryMetaData record{repo, historyFile, std::move(*path)};
    auto json = record.encode();
    if (!json) return std::move(json).error();
    if (auto written = writeNewHandOff(record.path, fileName, *json); !written) return std::move(written).error();
    return record;
}

platform::Result<std::string> HistoryMetaData::encode() const {
    return encodeRecord({{"repo", repo}, {"historyFile", historyFile}, {"path", path}});
}

platform::Result<HistoryMetaData> HistoryMetaData::decode(std::string_view bytes, const std::string& source) {
    HistoryMetaData record;
    auto decoded = decodeTextMembers(
        bytes, source, {{"repo", &record.repo}, {"historyFile", &record.historyFile}, {"path", &record.path}});
    if (!decoded) return std::move(decoded).error();
    return record;
}

}  // namespace VarnShared
