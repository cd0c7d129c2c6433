// How fast the merge status watcher answers once the application has moved
// its status file into place, and what waiting costs when nothing happens.
//
// Expected: an answer within a few milliseconds, most of it the file
// system's removal of the hand-off directory (compare T on disk, argument 0,
// with T in memory, argument 1); over a two-second idle wait a single
// wake-up and no more CPU time than a plain sleep of the same length.

#include <poll.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include <benchmark/benchmark.h>

#include "platform/FileSystem.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/MergeToolStatusWatcher.hpp"

namespace {

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

/// A private T for the run, removed afterwards: below /tmp, where T is by
/// default, or below /dev/shm, in memory.
class BenchTemporaryDirectory {
public:
    explicit BenchTemporaryDirectory(bool inMemory = false) {
        std::string pattern = inMemory ? "/dev/shm/varn-bench-XXXXXX" : "/tmp/varn-bench-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
        ::setenv("TMPDIR", path_.c_str(), 1);
    }
    ~BenchTemporaryDirectory() {
        if (!path_.empty()) (void)platform::removeRecursively(path_);
    }

private:
    std::string path_;
};

/// A new hand-off and its watcher, watching; nothing when either fails.
std::optional<std::pair<MergeToolMetaData, MergeToolStatusWatcher>> watchedHandOff(benchmark::State& state) {
    auto created = MergeToolMetaData::createHeld("/r", "/r/a.c");
    if (!created) {
        state.SkipWithError(created.error().description.c_str());
        return std::nullopt;
    }
    MergeToolStatusWatcher watcher(std::move(created->directory));
    if (auto watching = watcher.startWatching(); !watching) {
        state.SkipWithError(watching.error().description.c_str());
        return std::nullopt;
    }
    return std::pair{std::move(created->record), std::move(watcher)};
}

/// Write and answer on one thread: the cost of the write, the event, the
/// read and the removal of the hand-off directory.
void StatusWriteToAnswer(benchmark::State& state) {
    BenchTemporaryDirectory temporary(state.range(0) != 0);
    for (auto _ : state) {
        auto handOff = watchedHandOff(state);
        if (!handOff) return;
        auto& record = handOff->first;
        auto& watcher = handOff->second;
        auto start = Clock::now();
        (void)record.writeStatus(MergeToolMetaData::Result::ok);
        auto status = watcher.waitForStatus(Clock::now() + 1s);
        auto end = Clock::now();
        if (!status || *status != 0) {
            state.SkipWithError("no status within a second");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(StatusWriteToAnswer)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

/// The writer on another thread while the watcher sleeps: adds the wake-up
/// of a sleeping process, as with the real application.
void StatusWriteToAnswerWhileAsleep(benchmark::State& state) {
    BenchTemporaryDirectory temporary(state.range(0) != 0);
    for (auto _ : state) {
        auto handOff = watchedHandOff(state);
        if (!handOff) return;
        auto& record = handOff->first;
        auto& watcher = handOff->second;
        std::atomic<Clock::rep> written{0};
        std::thread writer([&] {
            // Long enough for the watcher to be asleep in poll.
            std::this_thread::sleep_for(2ms);
            written = Clock::now().time_since_epoch().count();
            (void)record.writeStatus(MergeToolMetaData::Result::ok);
        });
        auto status = watcher.waitForStatus(Clock::now() + 1s);
        auto end = Clock::now();
        writer.join();
        if (!status || *status != 0) {
            state.SkipWithError("no status within a second");
            return;
        }
        auto start = Clock::time_point(Clock::duration(written.load()));
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(StatusWriteToAnswerWhileAsleep)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

/// CPU time and context switches of `wait`, from the process's usage.
template <class Wait>
void measureIdle(benchmark::State& state, Wait wait) {
    double cpuMicroseconds = 0;
    double switches = 0;
    for (auto _ : state) {
        struct rusage before, after;
        ::getrusage(RUSAGE_SELF, &before);
        wait();
        ::getrusage(RUSAGE_SELF, &after);
        auto micros = [](const struct timeval& t) { return t.tv_sec * 1e6 + t.tv_usec; };
        cpuMicroseconds += micros(after.ru_utime) - micros(before.ru_utime) + micros(after.ru_stime) -
                           micros(before.ru_stime);
        switches += static_cast<double>((after.ru_nvcsw - before.ru_nvcsw) + (after.ru_nivcsw - before.ru_nivcsw));
    }
    state.counters["cpu_us"] = benchmark::Counter(cpuMicroseconds, benchmark::Counter::kAvgIterations);
    state.counters["context_switches"] = benchmark::Counter(switches, benchmark::Counter::kAvgIterations);
}

/// Two seconds of waiting with no event.
void IdleWait(benchmark::State& state) {
    BenchTemporaryDirectory temporary;
    auto handOff = watchedHandOff(state);
    if (!handOff) return;
    auto& watcher = handOff->second;
    measureIdle(state, [&] { benchmark::DoNotOptimize(watcher.waitForStatus(Clock::now() + 2s)); });
    watcher.removeDirectory();
}
BENCHMARK(IdleWait)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

/// The same two seconds in a plain sleep: what the machine charges for any
/// sleep and its wake-up, to compare with.
void PlainSleep(benchmark::State& state) {
    measureIdle(state, [] { ::poll(nullptr, 0, 2000); });
}
BENCHMARK(PlainSleep)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
