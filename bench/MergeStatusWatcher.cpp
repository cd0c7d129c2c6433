// How fast the tool's wait for a merge's verdict (the one `varn merge`
// runs, in process) answers once the application has moved its status file
// into place, and what waiting costs when nothing happens.
//
// Expected: an answer within a few milliseconds, most of it the file
// system's removal of the hand-off directory (compare T on disk, argument 0,
// with T in memory, argument 1); over a two-second idle wait a single
// wake-up and no more CPU time than a plain sleep of the same length.

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include <benchmark/benchmark.h>

#include "cli/MergeWait.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Process.hpp"
#include "platform/SignalPipe.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/MergeToolStatusWatcher.hpp"

namespace {

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;
using Clock = MergeToolStatusWatcher::Clock;
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

/// What the tool's wait is given besides the watcher: the signals it
/// catches, and a launcher that has ended and been reaped, as varnel-open
/// has long before a person answers.
class WaitSetting {
public:
    explicit WaitSetting(benchmark::State& state) {
        auto signals = platform::SignalPipe::catching({SIGINT, SIGTERM, SIGHUP, SIGCHLD});
        if (!signals) {
            state.SkipWithError(signals.error().description.c_str());
            return;
        }
        signals_.emplace(std::move(*signals));
        auto launcher = platform::Process::launch("/bin/true", {});
        if (!launcher || !launcher->waitUntilExit()) {
            state.SkipWithError("cannot run /bin/true");
            return;
        }
        launcher_.emplace(std::move(*launcher));
        (void)signals_->take();
    }

    bool ready() const { return launcher_.has_value(); }

    /// The tool's wait until `deadline`; the verdict, or nothing when the
    /// wait ended otherwise.
    std::optional<std::int32_t> await(MergeToolStatusWatcher& watcher, Clock::time_point deadline) {
        auto outcome = varn::awaitVerdict(watcher, *launcher_, *signals_, deadline);
        auto verdict = outcome.as<ap::ExitCode>();
        return verdict ? std::optional(verdict->rawValue) : std::nullopt;
    }

private:
    std::optional<platform::SignalPipe> signals_;
    std::optional<platform::Process> launcher_;
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

/// How long after the status file is moved into place the wait has the
/// verdict. Written on this thread just before the wait: the cost of the
/// write, the event, the read and the removal of the hand-off directory.
/// Written on another thread while the wait sleeps: adds the wake-up of a
/// sleeping process, as with the real application.
void answer(benchmark::State& state, bool whileAsleep) {
    BenchTemporaryDirectory temporary(state.range(0) != 0);
    WaitSetting setting(state);
    if (!setting.ready()) return;
    for (auto _ : state) {
        auto handOff = watchedHandOff(state);
        if (!handOff) return;
        std::atomic<Clock::rep> written{0};
        auto write = [&] {
            written = Clock::now().time_since_epoch().count();
            (void)handOff->first.writeStatus(MergeToolMetaData::Result::ok);
        };
        std::thread writer;
        if (whileAsleep) {
            writer = std::thread([&] {
                // Long enough for the wait to be asleep in poll.
                std::this_thread::sleep_for(2ms);
                write();
            });
        } else {
            write();
        }
        auto status = setting.await(handOff->second, Clock::now() + 1s);
        auto end = Clock::now();
        if (writer.joinable()) writer.join();
        if (status != 0) {
            state.SkipWithError("no status within a second");
            return;
        }
        auto start = Clock::time_point(Clock::duration(written.load()));
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

/// T on disk and in memory, each timed by hand over five repetitions.
void answerCases(benchmark::internal::Benchmark* cases) {
    cases->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

void StatusWriteToAnswer(benchmark::State& state) { answer(state, false); }
BENCHMARK(StatusWriteToAnswer)->Apply(answerCases);

void StatusWriteToAnswerWhileAsleep(benchmark::State& state) { answer(state, true); }
BENCHMARK(StatusWriteToAnswerWhileAsleep)->Apply(answerCases);

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

/// Two seconds of waiting with no event; the wait then gives up and removes
/// the hand-off.
void IdleWait(benchmark::State& state) {
    BenchTemporaryDirectory temporary;
    WaitSetting setting(state);
    if (!setting.ready()) return;
    auto handOff = watchedHandOff(state);
    if (!handOff) return;
    measureIdle(state, [&] { benchmark::DoNotOptimize(setting.await(handOff->second, Clock::now() + 2s)); });
}
BENCHMARK(IdleWait)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

/// The same two seconds in a plain sleep: what the machine charges for any
/// sleep and its wake-up, to compare with.
void PlainSleep(benchmark::State& state) {
    measureIdle(state, [] { ::poll(nullptr, 0, 2000); });
}
BENCHMARK(PlainSleep)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
