// Filling the library tree's model from the generated databases of 10k, 100k
// and 1M entries (kept under /tmp/zcd-bench), and the filter at 100k.
// Targets: 100k shown in 1 s, 1M in 3 s, the filter answering in 100 ms.
#include <benchmark/benchmark.h>

#include <atomic>

#include "db_generator.h"
#include "discdb/library_index.h"

namespace zcd::bench {
namespace {

const std::atomic<bool> kNeverStop{false};

void BM_BuildLibraryIndex(benchmark::State& state) {
  const std::string db = CachedDatabase(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    LibraryIndex index = BuildLibraryIndex(db, LibraryGrouping::kByCategory, kNeverStop);
    benchmark::DoNotOptimize(index.groups.data());
  }
}
BENCHMARK(BM_BuildLibraryIndex)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_FilterLibrary(benchmark::State& state) {
  const LibraryIndex index =
      BuildLibraryIndex(CachedDatabase(100'000), LibraryGrouping::kByCategory, kNeverStop);
  for (auto _ : state) {
    auto shown = FilterLibrary(index, "river of gl");
    benchmark::DoNotOptimize(shown.data());
  }
}
BENCHMARK(BM_FilterLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zcd::bench

BENCHMARK_MAIN();
