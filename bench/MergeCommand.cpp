// The real `varn merge`, as git and the application see it: how long after
// the application's status file is moved into place the tool has ended, and
// what the tool costs while it waits with nothing happening.
//
// Expected: a median answer well under 5 ms; over two idle seconds no CPU
// time at all and no wake-up (no context switch) in the waiting tool.
//
// The tool runs from the directory of this program (the build's bin/), with
// a private TMPDIR and, as the application, a script that notes which
// hand-off directory it was given.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include <benchmark/benchmark.h>

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/Process.hpp"
#include "platform/ProcessInfo.hpp"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// A scratch area with T, a repository and the application, removed
/// afterwards.
class Setting {
public:
    Setting() {
        std::string pattern = "/tmp/varn-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) return;
        root_ = pattern;
        for (auto directory : {"/T", "/repo/.git"})
            if (!platform::createDirectoryWithParents(root_ + directory)) return;
        auto script = "#!/bin/sh\nexec >/dev/null 2>&1\nprintf %s \"$1\" > '" + root_ + "/delivered.part' && mv '" +
                      root_ + "/delivered.part' '" + root_ + "/delivered'\n";
        if (!platform::writeFileNoFollow(root_ + "/app", script) || ::chmod((root_ + "/app").c_str(), 0755) != 0)
            return;
        auto self = platform::executablePath();
        if (!self) return;
        varn_ = platform::appendingPathComponent(platform::deletingLastPathComponent(*self), "varn");
        for (char** entry = environ; *entry; ++entry) {
            std::string text = *entry;
            auto name = text.substr(0, text.find('='));
            if (name != "TMPDIR" && name != "VARNEL_HOME" && name != "VARNEL_VERBOSE") environment_.push_back(text);
        }
        environment_.push_back("TMPDIR=" + root_ + "/T");
        environment_.push_back("VARNEL_HOME=" + root_ + "/app");
        ready_ = ::access(varn_.c_str(), X_OK) == 0;
    }
    ~Setting() {
        if (!root_.empty()) (void)platform::removeRecursively(root_);
    }

    bool ready() const { return ready_; }

    /// A `varn merge` waiting for its verdict, and its hand-off directory.
    struct Waiting {
        platform::Process tool;
        std::string handOff;
    };

    platform::Result<Waiting> startMerge() const {
        std::remove((root_ + "/delivered").c_str());
        auto tool = platform::Process::launch(
            varn_, {"merge", root_ + "/repo/a.c"},
            {.captureOutput = true, .captureError = true, .nullInput = true, .environment = environment_});
        if (!tool) return std::move(tool).error();
        auto deadline = Clock::now() + 5s;
        while (!platform::fileExists(root_ + "/delivered")) {
            if (Clock::now() > deadline) return platform::Error{"bench", 1, "the application was not started", {}};
            std::this_thread::sleep_for(1ms);
        }
        return Waiting{std::move(*tool), readText(root_ + "/delivered")};
    }

private:
    std::string root_;
    std::string varn_;
    std::vector<std::string> environment_;
    bool ready_ = false;
};

/// Ends the tool the way the application does and waits for it; its status.
int answer(Setting::Waiting& waiting) {
    (void)platform::writeFileAtomically(waiting.handOff + "/status", "0");
    auto status = waiting.tool.waitUntilExit();
    (void)waiting.tool.readToEnd(5s);
    return status ? *status : -1;
}

/// From the atomic status write to the tool's exit, as its parent sees it.
void StatusWriteToExit(benchmark::State& state) {
    Setting setting;
    if (!setting.ready()) return state.SkipWithError("varn is not built beside the benchmark");
    for (auto _ : state) {
        state.PauseTiming();
        auto waiting = setting.startMerge();
        if (!waiting) return state.SkipWithError(waiting.error().description.c_str());
        // Asleep in the kernel by now, as it is when a person merges.
        std::this_thread::sleep_for(5ms);
        state.ResumeTiming();
        auto start = Clock::now();
        (void)platform::writeFileAtomically(waiting->handOff + "/status", "0");
        auto status = waiting->tool.waitUntilExit();
        auto end = Clock::now();
        (void)waiting->tool.readToEnd(5s);
        if (!status || *status != 0) return state.SkipWithError("the tool did not end with status 0");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(StatusWriteToExit)
    ->Iterations(1)
    ->Repetitions(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);

/// The tool's CPU time (nanoseconds on a CPU, from the scheduler) and its
/// context switches so far.
struct Usage {
    double cpuNanoseconds = 0;
    double switches = 0;
};

/// Nothing when the kernel does not tell.
std::optional<Usage> usageOf(pid_t pid) {
    Usage usage;
    if (!(std::istringstream(readText("/proc/" + std::to_string(pid) + "/schedstat")) >> usage.cpuNanoseconds))
        return std::nullopt;
    std::istringstream status(readText("/proc/" + std::to_string(pid) + "/status"));
    int found = 0;
    for (std::string line; std::getline(status, line);) {
        for (auto name : {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"}) {
            if (line.rfind(name, 0) != 0) continue;
            usage.switches += std::stod(line.substr(std::string(name).size()));
            ++found;
        }
    }
    if (found != 2) return std::nullopt;
    return usage;
}

/// Two seconds of waiting with no event.
void IdleWait(benchmark::State& state) {
    Setting setting;
    if (!setting.ready()) return state.SkipWithError("varn is not built beside the benchmark");
    double cpu = 0, switches = 0;
    for (auto _ : state) {
        auto waiting = setting.startMerge();
        if (!waiting) return state.SkipWithError(waiting.error().description.c_str());
        std::this_thread::sleep_for(100ms);
        auto before = usageOf(waiting->tool.processIdentifier());
        std::this_thread::sleep_for(2s);
        auto after = usageOf(waiting->tool.processIdentifier());
        if (answer(*waiting) != 0) return state.SkipWithError("the tool did not end with status 0");
        if (!before || !after) return state.SkipWithError("no scheduler statistics in /proc");
        cpu += after->cpuNanoseconds - before->cpuNanoseconds;
        switches += after->switches - before->switches;
    }
    state.counters["cpu_ns"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    state.counters["wakeups"] = benchmark::Counter(switches, benchmark::Counter::kAvgIterations);
}
BENCHMARK(IdleWait)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
