// Splitting and parsing long command lines with varn's own command tree.
//
// Expected: parsing 1,000 arguments well under 1 ms, and every benchmark
// linear in the number of arguments (the fitted complexity is O(N), the
// time per argument at 10,000 about the same as at 1,000).

#include <malloc.h>

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/SplitArguments.hpp"
#include "cli/RootCommand.hpp"

namespace {

// glibc gives a freed block above its thresholds (128 KiB to start with)
// straight back to the kernel. A parse of 10,000 arguments takes more than a
// megabyte, so each iteration would fault it in afresh, while at 1,000 the
// heap is reused: the two sizes would measure different things, and on a
// virtual machine the faulting run took four times as long. Keeping freed memory
// makes both measure the parser's own work; a one-shot process pays for the
// first touch of its pages once, in proportion to their number.
const bool freedMemoryKept = [] {
    return mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1 && mallopt(M_TRIM_THRESHOLD, 256 << 20) == 1 &&
           mallopt(M_TOP_PAD, 64 << 20) == 1;
}();

/// varn diff main dev p1 … pN: `count` arguments in all.
std::vector<std::string> diffWithPaths(std::int64_t count) {
    std::vector<std::string> line{"diff", "main", "dev"};
    for (std::int64_t i = 3; i < count; ++i) line.push_back("p" + std::to_string(i));
    return line;
}

/// varn diff --repo r1 -r r2 --repo=r3 … main dev: `count` arguments, nearly
/// all options and their values; the last repository wins.
std::vector<std::string> diffWithOptions(std::int64_t count) {
    std::vector<std::string> line{"diff"};
    for (std::int64_t i = 0; static_cast<std::int64_t>(line.size()) + 2 < count; ++i) {
        switch (i % 3) {
            case 0: line.insert(line.end(), {"--repo", "r" + std::to_string(i)}); break;
            case 1: line.insert(line.end(), {"-r", "r" + std::to_string(i)}); break;
            default: line.push_back("--repo=r" + std::to_string(i)); break;
        }
    }
    line.insert(line.end(), {"main", "dev"});
    return line;
}

/// Short flags grouped and options mixed with positionals, as a fuzzier
/// command line might: many elements to classify per argument.
std::vector<std::string> mixedLine(std::int64_t count) {
    std::vector<std::string> line{"diff", "main"};
    for (std::int64_t i = 0; static_cast<std::int64_t>(line.size()) < count; ++i)
        line.push_back(i % 4 == 0 ? "-rrr" : i % 4 == 1 ? "path" + std::to_string(i) : i % 4 == 2 ? "--" : "x");
    return line;
}

void split(benchmark::State& state, std::vector<std::string> (*make)(std::int64_t)) {
    auto line = make(state.range(0));
    for (auto _ : state) {
        auto result = ap::SplitArguments::split(line);
        benchmark::DoNotOptimize(result);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void parse(benchmark::State& state, std::vector<std::string> (*make)(std::int64_t)) {
    if (!freedMemoryKept) state.SkipWithError("the allocator's thresholds could not be set");
    const auto& root = ap::typeOf<varn::TarqCLI>();
    auto line = make(state.range(0));
    for (auto _ : state) {
        auto command = ap::parseAsRoot(root, line);
        if (!command) state.SkipWithError("the line does not parse");
        benchmark::DoNotOptimize(command);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SplitPaths(benchmark::State& state) { split(state, diffWithPaths); }
void BM_SplitOptions(benchmark::State& state) { split(state, diffWithOptions); }
void BM_SplitMixed(benchmark::State& state) { split(state, mixedLine); }
void BM_ParsePaths(benchmark::State& state) { parse(state, diffWithPaths); }
void BM_ParseOptions(benchmark::State& state) { parse(state, diffWithOptions); }

/// The cost of a parse that fails: an unknown option at the end of a long
/// line, reported with the command's usage.
void BM_ParseUnknownOptionAtEnd(benchmark::State& state) {
    const auto& root = ap::typeOf<varn::TarqCLI>();
    auto line = diffWithPaths(state.range(0));
    line.back() = "--bogus";
    for (auto _ : state) {
        auto command = ap::parseAsRoot(root, line);
        if (command) state.SkipWithError("the line parses");
        benchmark::DoNotOptimize(command);
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_SplitPaths)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SplitOptions)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SplitMixed)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParsePaths)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseOptions)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseUnknownOptionAtEnd)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMicrosecond);
