// The hand-off records read from arbitrary bytes: the three decoders, and a
// difftool session loaded from its file as a run of the tool loads it. A
// record that decodes and can be written again must read back the same. The
// session record, read and written in one pass, must agree with reading and
// writing it as a JSON value, as the other records are.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolFiles.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/RecordJson.hpp"
#include "shared/SessionKey.hpp"
#include "shared/SessionRecordJson.hpp"

namespace {

template <class Record>
void roundTrip(std::string_view bytes) {
    auto record = Record::decode(bytes, "/T/fuzz/record");
    if (!record) {
        // Every refusal says what was wrong.
        if (record.error().description.empty()) __builtin_trap();
        return;
    }
    auto encoded = record->encode();
    if (!encoded) return;  // texts that are not UTF-8 are refused on writing
    auto again = Record::decode(*encoded);
    if (!again || !(*again == *record)) __builtin_trap();
}

using VarnShared::DiffToolMetaData;

/// The session record read member by member from a JSON value.
platform::Result<DiffToolMetaData> sessionFromValue(std::string_view bytes, const std::string& source) {
    auto json = VarnShared::parseJsonObject(bytes, source);
    if (!json) return std::move(json).error();
    VarnShared::RecordObjectReader reader(*json, source);
    DiffToolMetaData record;
    auto repo = reader.text("repo");
    if (!repo) return std::move(repo).error();
    record.repo = *repo;
    auto pid = reader.optionalInt32("pid");
    if (!pid) return std::move(pid).error();
    record.pid = *pid;
    for (auto [member, field] : {std::pair{"revspecA", &record.revspecA}, std::pair{"revspecB", &record.revspecB}}) {
        auto text = reader.optionalText(member);
        if (!text) return std::move(text).error();
        *field = *text;
    }
    auto entries = reader.objects("entries");
    if (!entries) return std::move(entries).error();
    for (const auto& element : *entries) {
        auto& entry = record.entries.emplace_back();
        for (const auto& file : VarnShared::diffToolFiles<DiffToolMetaData::Entry>) {
            auto text = element.text(std::string(file.name));
            if (!text) return std::move(text).error();
            entry.*file.path = *text;
        }
    }
    return record;
}

/// The session record written as a JSON value.
platform::Result<std::string> sessionAsValue(const DiffToolMetaData& record) {
    nlohmann::json object = {{"repo", record.repo}, {"entries", nlohmann::json::array()}};
    if (record.pid) object["pid"] = *record.pid;
    if (record.revspecA) object["revspecA"] = *record.revspecA;
    if (record.revspecB) object["revspecB"] = *record.revspecB;
    for (const auto& entry : record.entries) {
        auto& element = object["entries"].emplace_back(nlohmann::json::object());
        for (const auto& file : VarnShared::diffToolFiles<DiffToolMetaData::Entry>)
            element[std::string(file.name)] = entry.*file.path;
    }
    return VarnShared::encodeRecord(object);
}

void sessionAgreesWithValues(std::string_view bytes) {
    auto onePass = DiffToolMetaData::decode(bytes, "S");
    auto byValue = sessionFromValue(bytes, "S");
    if (static_cast<bool>(onePass) != static_cast<bool>(byValue)) __builtin_trap();
    if (!onePass) {
        if (onePass.error().description != byValue.error().description) __builtin_trap();
        return;
    }
    // Byte for byte, not canonically: the one-pass reader must keep every
    // text as it is, and write what the JSON value of it writes.
    auto written = onePass->encode();
    auto asValue = sessionAsValue(*byValue);
    if (static_cast<bool>(written) != static_cast<bool>(asValue)) __builtin_trap();
    if (written && *written != *asValue) __builtin_trap();

    // A text taken for a written record is one, and grows as its record does.
    auto end = VarnShared::endOfEntriesInWrittenRecord(bytes);
    if (end.has_value() != (written && *written == bytes)) __builtin_trap();
    if (!end) return;
    auto grown = *onePass;
    grown.entries.push_back({"/b", "/l\n\"", "/r\xC3\xA9", ""});
    auto inserted = VarnShared::insertingEntries(std::string(bytes), *end, {grown.entries.back()});
    if (!inserted || *inserted != *grown.encode()) __builtin_trap();
}

const VarnShared::DiffToolSession session{.repo = "/r", .pid = 42, .revspecA = "main", .revspecB = std::nullopt};
std::string sessionFile;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A temporary directory of the fuzzer's own, so loading reads only what it wrote.
    char pattern[] = "/tmp/varn-fuzz-records.XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    ::setenv("TMPDIR", pattern, 1);
    std::string directory = VarnShared::sessionDirectory(session);
    if (!platform::createDirectoryWithParents(directory)) std::abort();
    sessionFile = directory + "/" + std::string(VarnShared::DiffToolMetaData::fileName);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    roundTrip<VarnShared::DiffToolMetaData>(bytes);
    sessionAgreesWithValues(bytes);
    roundTrip<VarnShared::MergeToolMetaData>(bytes);
    roundTrip<VarnShared::HistoryMetaData>(bytes);

    if (!platform::writeFileAtomically(sessionFile, bytes)) std::abort();
    auto loaded = VarnShared::loadSession(session);
    auto decoded = VarnShared::DiffToolMetaData::decode(bytes);
    if (static_cast<bool>(loaded) != static_cast<bool>(decoded)) __builtin_trap();
    if (loaded && !(*loaded == *decoded)) __builtin_trap();
    return 0;
}
