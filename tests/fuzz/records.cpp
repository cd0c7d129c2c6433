// The hand-off records read from arbitrary bytes: the three decoders, and a
// difftool session loaded from its file as a run of the tool loads it. A
// record that decodes and can be written again must read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/SessionKey.hpp"

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
    roundTrip<VarnShared::MergeToolMetaData>(bytes);
    roundTrip<VarnShared::HistoryMetaData>(bytes);

    if (!platform::writeFileNoFollow(sessionFile, bytes)) std::abort();
    auto loaded = VarnShared::loadSession(session);
    auto decoded = VarnShared::DiffToolMetaData::decode(bytes);
    if (static_cast<bool>(loaded) != static_cast<bool>(decoded)) __builtin_trap();
    if (loaded && !(*loaded == *decoded)) __builtin_trap();
    return 0;
}
