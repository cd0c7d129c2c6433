#include "shared/DiffToolMetaData.hpp"

#include "platform/FileSystem.hpp"
#include "platform/TemporaryDirectory.hpp"
#include "shared/CanonicalText.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/RecordJson.hpp"
#include "shared/SessionKey.hpp"

namespace VarnShared {

bool DiffToolMetaData::Entry::operator==(const Entry& other) const {
    return canonicallyEqual(base, other.base) && canonicallyEqual(local, other.local) &&
           canonicallyEqual(remote, other.remote) && canonicallyEqual(merged, other.merged);
}

bool DiffToolMetaData::metadataExists(const std::string& directoryPath) {
    return metadataFileExists(directoryPath, fileName);
}

platform::Result<DiffToolMetaData> DiffToolMetaData::readMetadata(const std::string& directoryPath) {
    return readMetadataFile<DiffToolMetaData>(directoryPath, fileName);
}

platform::Result<std::string> DiffToolMetaData::encode() const {
    nlohmann::json object = nlohmann::json::object();
    object["repo"] = repo;
    if (pid) object["pid"] = *pid;
    if (revspecA) object["revspecA"] = *revspecA;
    if (revspecB) object["revspecB"] = *revspecB;
    nlohmann::json list = nlohmann::json::array();
    for (const auto& entry : entries) {
        list.push_back(
            {{"base", entry.base}, {"local", entry.local}, {"remote", entry.remote}, {"merged", entry.merged}});
    }
    object["entries"] = std::move(list);
    return encodeRecord(object);
}

platform::Result<DiffToolMetaData> DiffToolMetaData::decode(std::string_view bytes, const std::string& source) {
    auto json = parseJsonObject(bytes, source);
    if (!json) return std::move(json).error();
    JsonObjectReader reader(*json, source);

    DiffToolMetaData record;
    auto repo = reader.text("repo");
    if (!repo) return std::move(repo).error();
    record.repo = std::move(*repo);
    auto pid = reader.optionalInt32("pid");
    if (!pid) return std::move(pid).error();
    record.pid = *pid;
    auto revspecA = reader.optionalText("revspecA");
    if (!revspecA) return std::move(revspecA).error();
    record.revspecA = std::move(*revspecA);
    auto revspecB = reader.optionalText("revspecB");
    if (!revspecB) return std::move(revspecB).error();
    record.revspecB = std::move(*revspecB);

    auto entries = reader.objects("entries");
    if (!entries) return std::move(entries).error();
    for (const auto& element : *entries) {
        Entry entry;
        for (auto [member, field] : {std::pair{"base", &entry.base}, std::pair{"local", &entry.local},
                                     std::pair{"remote", &entry.remote}, std::pair{"merged", &entry.merged}}) {
            auto text = element.text(member);
            if (!text) return std::move(text).error();
            *field = std::move(*text);
        }
        record.entries.push_back(std::move(entry));
    }
    return record;
}

platform::Result<void> DiffToolMetaData::write(std::ostream& out) const {
    auto json = encode();
    if (!json) return std::move(json).error();
    auto temporary = platform::ensureTemporaryDirectory();
    if (!temporary) return std::move(temporary).error();
    std::string directory = *temporary + "/" + sessionKey(*this);
    if (auto created = platform::createDirectoryWithParents(directory); !created) return created;
    if (auto checked = platform::checkOwnedDirectory(directory, "session directory"); !checked) return checked;
    std::string path = metadataFilePath(directory, fileName);
    out << "Writing to: " << path << '\n';
    return platform::writeFileAtomically(path, *json);
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
    for (const auto* text : {&entry.base, &entry.local, &entry.remote, &entry.merged}) {
        hash ^= VarnShared::canonicalHash(*text) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    }
    return hash;
}
