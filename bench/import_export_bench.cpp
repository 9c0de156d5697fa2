// Bulk import into an empty database and a full plain-text export, on the
// generated databases of 10k, 100k and 1M entries kept under /tmp/zcd-bench.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "db_generator.h"
#include "discdb/export_run.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/import_database.h"

namespace zcd::bench {
namespace {

class QuietUi : public ImportUi {
 public:
  void SetStatus(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
  DuplicateAnswer AskDuplicate(const std::string&) override { return DuplicateAnswer::kNo; }
  void ShowCorrupt(const std::string&) override { std::abort(); }
  void ShowError(const std::string&) override { std::abort(); }
};

void ApplySizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

void BM_ImportIntoEmptyDatabase(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string source = CachedDatabase(entries);
  const std::string local = "/tmp/zcd-bench/import-target.zdb";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(local);
    state.ResumeTiming();
    QuietUi ui;
    const ImportResult result = ImportDatabase(local, source, DuplicateRule::kOverwrite, ui);
    if (result.outcome != ImportOutcome::kDone || result.imported != static_cast<int64_t>(entries))
      state.SkipWithError("import incomplete");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(local);
}
BENCHMARK(BM_ImportIntoEmptyDatabase)->Apply(ApplySizes);

void BM_ExportPlainText(benchmark::State& state) {
  const std::string source = CachedDatabase(static_cast<size_t>(state.range(0)));
  PlainTextExporter exporter;
  exporter.ReadOptions(PlainTextExporter::kAllOptions);
  exporter.set_scope(kExportAllScope);
  exporter.set_file_name("/tmp/zcd-bench/export.txt");
  for (auto _ : state) {
    std::string error;
    if (!DbForEachEntry(source, exporter, &error))
      state.SkipWithError(error.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(exporter.file_name());
}
BENCHMARK(BM_ExportPlainText)->Apply(ApplySizes);

}  // namespace
}  // namespace zcd::bench

BENCHMARK_MAIN();
