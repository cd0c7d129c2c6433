// Finding the repository from deep below its root, as every command does:
// the walk goes upward one directory at a time and resolves the symbolic
// links of each. The repository is reached through a link; the directories
// below it do not exist, as for a path the system cannot even look up.
//
// Expected: linear in the number of components (fitted O(N)); 1,024
// components of 64 characters searched in well under a millisecond.

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include <benchmark/benchmark.h>

#include "cli/RepositoryResolution.hpp"
#include "platform/FileSystem.hpp"

namespace {

void BM_FindRepositoryRoot(benchmark::State& state) {
    std::string scratch = "/tmp/varn-bench-XXXXXX";
    if (!::mkdtemp(scratch.data()) || !platform::createDirectoryWithParents(scratch + "/repo/.git") ||
        ::symlink("repo", (scratch + "/link").c_str()) != 0) {
        state.SkipWithError("cannot lay out the repository");
        return;
    }
    auto path = scratch + "/link";
    for (std::int64_t i = 0; i < state.range(0); ++i) path += "/" + std::string(63, 'a' + i % 26) + "z";
    for (auto _ : state) {
        auto root = varn::findRepositoryRoot(path);
        if (root != scratch + "/repo") state.SkipWithError("the repository was not found");
        benchmark::DoNotOptimize(root);
    }
    state.SetComplexityN(state.range(0));
    (void)platform::removeRecursively(scratch);
}

}  // namespace

BENCHMARK(BM_FindRepositoryRoot)->Arg(256)->Arg(1024)->Arg(4096)->Complexity()->Unit(benchmark::kMicrosecond);
