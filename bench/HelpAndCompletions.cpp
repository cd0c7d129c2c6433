// Rendering varn's help screens, its completion scripts, its command
// description and a parse error's message, in process, from declarations
// that are already built; and what building the command tree costs once per
// run.
//
// Expected: each text in a few tens of microseconds, far below the cost of
// starting a process.

#include <benchmark/benchmark.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/CompletionsGenerator.hpp"
#include "ArgumentParser/HelpGenerator.hpp"
#include "ArgumentParser/MessageInfo.hpp"
#include "ArgumentParser/ToolInfo.hpp"
#include "cli/RootCommand.hpp"

namespace {

const ap::CommandType& root() { return ap::typeOf<varn::TarqCLI>(); }

void BM_RootHelp(benchmark::State& state) {
    ap::CommandStack stack{&root()};
    for (auto _ : state) benchmark::DoNotOptimize(ap::helpText(stack, ap::ArgumentVisibility::default_, 80));
}

void BM_DiffHelp(benchmark::State& state) {
    ap::CommandStack stack{&root(), &ap::typeOf<varn::Diff>()};
    for (auto _ : state) benchmark::DoNotOptimize(ap::helpText(stack, ap::ArgumentVisibility::default_, 80));
}

void BM_CompletionScript(benchmark::State& state, ap::CompletionShell shell) {
    for (auto _ : state) benchmark::DoNotOptimize(ap::generateCompletionScript(shell, root()));
}

void BM_DumpHelp(benchmark::State& state) {
    ap::CommandStack stack{&root()};
    for (auto _ : state) benchmark::DoNotOptimize(ap::dumpHelp(stack));
}

/// A mistyped option: the parse up to it and the message with the usage.
void BM_ParseError(benchmark::State& state) {
    for (auto _ : state) {
        auto parsed = ap::parseAsRoot(root(), {"diff", "--bogus", "main"});
        benchmark::DoNotOptimize(ap::MessageInfo::make(parsed.error(), root(), 80).fullText());
    }
}

/// The tree every run builds before it parses (the declarations themselves
/// are built once per process, on first use).
void BM_CommandTree(benchmark::State& state) {
    for (auto _ : state) {
        ap::CommandParser parser(root());
        benchmark::DoNotOptimize(parser);
    }
}

}  // namespace

BENCHMARK(BM_RootHelp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DiffHelp)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CompletionScript, zsh, ap::CompletionShell::zsh)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CompletionScript, bash, ap::CompletionShell::bash)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CompletionScript, fish, ap::CompletionShell::fish)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DumpHelp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseError)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommandTree)->Unit(benchmark::kMicrosecond);
