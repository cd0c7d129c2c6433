// What one difftool run costs against the size of its session: the load,
// extend and write of the record in process, and a whole `varn _difftool`
// with its launcher child, beside the cost of starting varn at all
// (`varn --help`).
//
// Expected: both grow linearly with the number of entries (the record is
// read and written in full once per run); in process, a 1,000-entry session
// is loaded, extended and written in at most 2 ms. A whole run costs its
// fixed part (starting varn and the launcher, and xattr on macOS), which a
// 10-entry session shows, and little more. The counter varn_cpu_ms is the
// CPU time of varn and the children it waits for, per run.

#include "shared/DifftoolRun.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "cli/GitInvocation.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/Process.hpp"
#include "platform/ProcessInfo.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/DifftoolOptions.hpp"
#include "shared/SessionKey.hpp"

extern char** environ;

namespace {

using VarnShared::DiffToolMetaData;
using VarnShared::DifftoolOptions;

/// A private T and a repository in it for the run, removed afterwards.
class BenchDirectory {
public:
    BenchDirectory() {
        std::string pattern = "/tmp/varn-bench-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
        ::setenv("TMPDIR", (path_ + "/T").c_str(), 1);
        (void)platform::createDirectoryWithParents(path_ + "/T");
        (void)platform::createDirectoryWithParents(repo() + "/.git");
        (void)platform::writeFileNoFollow(repo() + "/a.txt", "a\n");
    }
    ~BenchDirectory() {
        if (!path_.empty()) (void)platform::removeRecursively(path_);
    }
    std::string repo() const { return path_ + "/repo"; }

private:
    std::string path_;
};

/// The session of `options` with `size` entries, as its file holds it.
std::string sessionText(const DifftoolOptions& options, std::int64_t size) {
    DiffToolMetaData record;
    static_cast<VarnShared::DiffToolSession&>(record) = options;
    for (std::int64_t i = 0; i < size; ++i) {
        auto n = std::to_string(i);
        record.entries.push_back({options.repo + "/dir/base-" + n + ".txt", "/tmp/git-blob-" + n + "/left.txt",
                                  options.repo + "/dir/file-" + n + ".txt", options.repo + "/dir/file-" + n + ".txt"});
    }
    return *record.encode();
}

/// The file is put back to `size` entries before every run, outside the timing.
void resetSession(const DifftoolOptions& options, const std::string& text) {
    auto directory = VarnShared::sessionDirectory(options);
    (void)platform::createDirectoryWithParents(directory);
    (void)platform::writeFileAtomically(directory + "/.varnel-difftool", text);
}

void RecordRunInProcess(benchmark::State& state) {
    BenchDirectory bench;
    auto file = bench.repo() + "/a.txt";
    auto options = DifftoolOptions::make({bench.repo(), 4242, "main", std::nullopt, file, file, file, file}).value();
    auto text = sessionText(options, state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        resetSession(options, text);
        state.ResumeTiming();
        auto directory = VarnShared::recordDifftoolRun(options, [](std::string_view) {});
        if (!directory) state.SkipWithError(directory.error().description.c_str());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(RecordRunInProcess)->RangeMultiplier(10)->Range(10, 10000)->Unit(benchmark::kMillisecond)->Complexity();

const std::string binaryDirectory = platform::deletingLastPathComponent(*platform::executablePath());

std::vector<std::string> benchEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view text = *entry;
        if (!text.starts_with("VARNEL_")) entries.emplace_back(text);
    }
    entries.push_back("VARNEL_HOME=/bin/true");
    return entries;
}

/// CPU time, user and system, of the children waited for so far, in ms.
double childrenCpuMilliseconds() {
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

/// The CPU time varn and the children it waits for spent per iteration: far
/// steadier than the wall time on a busy machine.
void reportChildrenCpu(benchmark::State& state, double before) {
    state.counters["varn_cpu_ms"] = benchmark::Counter((childrenCpuMilliseconds() - before) /
                                                       static_cast<double>(state.iterations()));
}

/// Runs varn with `arguments` to its end; false when it failed.
bool runVarn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
    auto varn = platform::runCollectingOutput(binaryDirectory + "/varn", arguments,
                                              {.nullInput = true, .workingDirectory = "/", .environment = environment});
    return varn && varn->terminationStatus == 0;
}

void DifftoolProcess(benchmark::State& state) {
    BenchDirectory bench;
    // No git difftool runs the child, so its session is named by the group
    // it shares with this process, and has no revisions.
    ::setenv("VARNEL_VERBOSE", "", 1);
    auto git = varn::findGitInvocation();
    auto file = bench.repo() + "/a.txt";
    auto options = DifftoolOptions::make({bench.repo(), git->pid, std::nullopt, std::nullopt, file, file, file, file})
                       .value();
    auto text = sessionText(options, state.range(0));
    auto environment = benchEnvironment();
    auto cpuBefore = childrenCpuMilliseconds();
    for (auto _ : state) {
        state.PauseTiming();
        resetSession(options, text);
        state.ResumeTiming();
        if (!runVarn({"_difftool", "--base", file, "--local", file, "--remote", file, "--merged", file}, environment))
            state.SkipWithError("varn _difftool failed");
    }
    reportChildrenCpu(state, cpuBefore);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(DifftoolProcess)->RangeMultiplier(10)->Range(10, 10000)->Unit(benchmark::kMillisecond)->Complexity();

void VarnProcessStart(benchmark::State& state) {
    auto environment = benchEnvironment();
    auto cpuBefore = childrenCpuMilliseconds();
    for (auto _ : state)
        if (!runVarn({"--help"}, environment)) state.SkipWithError("varn --help failed");
    reportChildrenCpu(state, cpuBefore);
}
BENCHMARK(VarnProcessStart)->Unit(benchmark::kMillisecond);

}  // namespace
