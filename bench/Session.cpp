// A difftool session record of many entries: encoded and decoded in
// memory, and written to and loaded from its session directory as a run of
// `varn _difftool` does.
//
// Expected: every benchmark linear in the number of entries (fitted O(N));
// a 10,000-entry session loaded or written in a few milliseconds.

#include <stdlib.h>

#include <string>
#include <string_view>

#include <benchmark/benchmark.h>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"

namespace {

using VarnShared::DiffToolMetaData;

DiffToolMetaData session(std::int64_t size) {
    DiffToolMetaData record;
    record.repo = "/Users/me/src/project";
    record.pid = 4242;
    record.revspecA = "main";
    record.revspecB = "feature/benchmarks";
    for (std::int64_t i = 0; i < size; ++i) {
        auto n = std::to_string(i);
        record.entries.push_back({"/dev/null",
                                  "/tmp/varnel-1000/123/file" + n + ".c-1F0E4A8C-5B6D-4E7F-8A9B-0C1D2E3F4A5B",
                                  record.repo + "/src/module/file" + n + ".c",
                                  record.repo + "/src/module/file" + n + ".c"});
    }
    return record;
}

/// A private temporary directory for the session files, removed afterwards.
class ScratchTemporaryDirectory {
public:
    ScratchTemporaryDirectory() {
        std::string pattern = "/tmp/varn-bench-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
        ::setenv("TMPDIR", path_.c_str(), 1);
    }
    ~ScratchTemporaryDirectory() {
        if (!path_.empty()) (void)platform::removeRecursively(path_);
    }

private:
    std::string path_;
};

void BM_SessionEncode(benchmark::State& state) {
    auto record = session(state.range(0));
    for (auto _ : state) {
        auto text = record.encode();
        if (!text) state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(text);
    }
    state.SetComplexityN(state.range(0));
}

void BM_SessionDecode(benchmark::State& state) {
    auto text = session(state.range(0)).encode();
    if (!text) {
        state.SkipWithError("encoding failed");
        return;
    }
    for (auto _ : state) {
        auto record = DiffToolMetaData::decode(*text);
        if (!record) state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(record);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text->size()));
    state.SetComplexityN(state.range(0));
}

/// The record written in full into its directory, replacing the last one.
void BM_SessionWrite(benchmark::State& state) {
    ScratchTemporaryDirectory scratch;
    auto record = session(state.range(0));
    for (auto _ : state)
        if (!record.write([](std::string_view) {})) state.SkipWithError("writing failed");
    state.SetComplexityN(state.range(0));
}

/// The stored record found and read back.
void BM_SessionLoad(benchmark::State& state) {
    ScratchTemporaryDirectory scratch;
    auto record = session(state.range(0));
    if (!record.write([](std::string_view) {})) {
        state.SkipWithError("writing failed");
        return;
    }
    for (auto _ : state) {
        auto loaded = VarnShared::loadSession(record);
        if (!loaded || loaded->entries.size() != record.entries.size()) state.SkipWithError("loading failed");
        benchmark::DoNotOptimize(loaded);
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_SessionEncode)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionDecode)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionWrite)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionLoad)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMillisecond);
