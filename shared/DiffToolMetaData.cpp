#include "shared/DiffToolMetaData.hpp"

#include "platform/FileSystem.hpp"
#include "shared/CanonicalText.hpp"
#include "shared/DiffToolFiles.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/SessionDirectory.hpp"
#include "shared/SessionKey.hpp"
#include "shared/SessionRecordJson.hpp"

namespace VarnShared {

bool DiffToolMetaData::Entry::operator==(const Entry& other) const {
    for (const auto& file : diffToolFiles<Entry>)
        if (!canonicallyEqual(this->*file.path, other.*file.path)) return false;
    return true;
}

bool DiffToolMetaData::metadataExists(const std::string& directoryPath) {
    return metadataFileExists(directoryPath, fileName);
}

platform::Result<DiffToolMetaData> DiffToolMetaData::readMetadata(const std::string& directoryPath) {
    return readMetadataFile<DiffToolMetaData>(directoryPath, fileName);
}

platform::Result<std::string> DiffToolMetaData::encode() const { return encodeSessionRecord(*this); }

platform::Result<DiffToolMetaData> DiffToolMetaData::decode(std::string_view bytes, const std::string& source) {
    return decodeSessionRecord(bytes, source);
}

platform::Result<void> DiffToolMetaData::write(platform::LinePrinter print) const {
    auto json = encode();
    if (!json) return std::move(json).error();
    auto directory = ensureSessionDirectory(*this);
    if (!directory) return std::move(directory).error();
    return writeSessionRecord(*directory, *json, print);
}

platform::Result<void> writeSessionRecord(const std::string& directory, std::string_view json,
                                          platform::LinePrinter print) {
    std::string path = metadataFilePath(directory, DiffToolMetaData::fileName);
    // Announced once it is there: the line never names a file that a failed
    // write did not produce.
    if (auto written = platform::writeFileAtomically(path, json); !written) return written;
    print("Writing to: " + path);
    return {};
}

std::optional<DiffToolMetaData> loadSession(const DiffToolSession& session) {
    std::string directory = sessionDirectory(session);
    if (!DiffToolMetaData::metadataExists(directory)) return std::nullopt;
    auto record = DiffToolMetaData::readMetadata(directory);
    if (!record) return std::nullopt;
    return std::move(*record);
}

}  // namespace VarnShared

std::size_t std::hash<VarnShared::DiffToolMetaData::Entry>::operator()(
    const VarnShared::DiffToolMetaData::Entry& entry) const {
    std::size_t hash = 0;
    for (const auto& file : VarnShared::diffToolFiles<VarnShared::DiffToolMetaData::Entry>)
        hash ^= VarnShared::canonicalHash(entry.*file.path) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
}
