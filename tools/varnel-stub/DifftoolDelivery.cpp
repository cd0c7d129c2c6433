#include "tools/varnel-stub/DifftoolDelivery.hpp"

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/NewOptions.hpp"
#include "shared/SessionLock.hpp"
#include "tools/varnel-stub/DeliveryLog.hpp"
#include "tools/varnel-stub/RegularFile.hpp"

namespace varnelstub {
namespace {

using VarnShared::DiffToolMetaData;

constexpr std::string_view shownFileName = ".varnel-stub-shown";

bool isDifftoolSession(const std::string& target) { return DiffToolMetaData::metadataExists(target); }

/// The record shown last; nothing before the first delivery, or when the
/// state cannot be read (everything is then new again).
std::optional<DiffToolMetaData> shownBefore(const std::string& directory) {
    auto shown = readRecord<DiffToolMetaData>(directory, shownFileName);
    if (!shown) return std::nullopt;
    return std::move(*shown);
}

platform::Result<std::string> deliverDifftool(const std::string& directory) {
    auto lock = VarnShared::SessionLock::acquire(directory);
    if (!lock) return std::move(lock).error();
    auto record = readRecord<DiffToolMetaData>(directory, DiffToolMetaData::fileName);
    if (!record) return std::move(record).error();

    auto fresh = VarnShared::newOptions(*record, shownBefore(directory));
    if (!fresh) return std::move(fresh).error();
    for (const auto& pair : *fresh)
        appendToLog("difftool", directory,
                    "pair local=" + pair.local + " remote=" + pair.remote + " merged=" + pair.merged);

    auto json = record->encode();
    if (!json) return std::move(json).error();
    auto kept = platform::writeFileAtomically(VarnShared::metadataFilePath(directory, shownFileName), *json);
    if (!kept) return std::move(kept).error();
    return "shown " + std::to_string(fresh->size()) + " of " + std::to_string(record->entries.size()) + " entries";
}

}  // namespace

const Delivery difftoolDelivery{"difftool", isDifftoolSession, deliverDifftool};

}  // namespace varnelstub
