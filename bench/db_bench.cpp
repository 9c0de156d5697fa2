// Speed of the database file at 10k, 100k and 1M entries, on generated
// databases kept under /tmp/zcd-bench (made on first use).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "db_generator.h"
#include "discdb/database.h"

namespace zcd::bench {
namespace {

std::string WorkPath(const char* name, size_t entries) {
  return "/tmp/zcd-bench/work-" + std::string(name) + "-" + std::to_string(entries) + ".zdb";
}

// The database and the lock file every database gets beside it.
void RemoveDatabase(const std::string& path) {
  std::filesystem::remove(path);
  std::filesystem::remove(path + "-lock");
}

void ApplySizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// A fresh copy, written once so that later writes may change it in place, as
// the player's own database always may.
bool PrepareWorkCopy(size_t entries, const std::string& db) {
  return CopyCachedDatabase(entries, db) &&
         DbAddEntry(db, GeneratedKey(entries), GeneratedText(entries)) == 1;
}

void BM_FindExisting(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = CachedDatabase(entries);
  const std::string id = GeneratedId(entries - 1);  // the last row: a scan of the whole index
  for (auto _ : state) {
    auto text = DbFindEntry(db, id);
    if (!text)
      state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_FindExisting)->Apply(ApplySizes);

void BM_FindMissing(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = CachedDatabase(entries);
  const std::string id = GeneratedId(entries + 777);  // never in this database
  for (auto _ : state) {
    auto text = DbFindEntry(db, id);
    if (text)
      state.SkipWithError("entry found");
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_FindMissing)->Apply(ApplySizes);

void BM_Add(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = WorkPath("add", entries);
  if (!PrepareWorkCopy(entries, db))
    return state.SkipWithError("no database");
  size_t i = entries + 1;
  for (auto _ : state) {
    if (DbAddEntry(db, GeneratedKey(i), GeneratedText(i)) != 1)
      state.SkipWithError("add failed");
    ++i;
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_Add)->Apply(ApplySizes);

void BM_WalkTouchingEveryText(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = CachedDatabase(entries);
  for (auto _ : state) {
    size_t lines = 0;
    size_t rows = 0;
    DbWalkEntries(db, [&](std::string_view, std::string_view text) {
      lines += static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
      ++rows;
      return true;
    });
    if (rows != entries)
      state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_WalkTouchingEveryText)->Apply(ApplySizes);

void BM_List(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = CachedDatabase(entries);
  for (auto _ : state) {
    int count = 0;
    auto items = DbListEntries(db, std::nullopt, count);
    if (count != static_cast<int>(entries))
      state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(items);
  }
}
BENCHMARK(BM_List)->Apply(ApplySizes);

void BM_Check(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = CachedDatabase(entries);
  for (auto _ : state) {
    if (!DbCheck(db).empty())
      state.SkipWithError("problems found");
  }
}
BENCHMARK(BM_Check)->Apply(ApplySizes);

void BM_DeleteOne(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = WorkPath("delete", entries);
  if (!CopyCachedDatabase(entries, db))
    return state.SkipWithError("no database");
  size_t i = 0;
  for (auto _ : state) {
    if (!DbDeleteEntries(db, GeneratedId(i * 7919 % entries)))
      state.SkipWithError("nothing deleted");
    ++i;
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_DeleteOne)->Apply(ApplySizes);

void ApplyCollectionSizes(benchmark::internal::Benchmark* b) {
  b->Arg(200'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// The disc added last goes again: only its text and the index move.
void BM_DeleteLastAdded(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = WorkPath("delete-last", entries);
  if (!PrepareWorkCopy(entries, db))
    return state.SkipWithError("no database");
  size_t i = entries + 1;
  for (auto _ : state) {
    state.PauseTiming();
    const bool added = DbAddEntry(db, GeneratedKey(i), GeneratedText(i)) == 1;
    state.ResumeTiming();
    if (!added || !DbDeleteEntries(db, GeneratedKey(i)))
      state.SkipWithError("delete failed");
    ++i;
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_DeleteLastAdded)->Apply(ApplyCollectionSizes);

// The editor's save of a disc among the last ten added: its entry moves to
// the end with a new text, so the next save again takes the tenth from the end.
void BM_ReplaceRecent(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = WorkPath("replace-recent", entries);
  if (!PrepareWorkCopy(entries, db))
    return state.SkipWithError("no database");
  size_t i = 0;
  for (auto _ : state) {
    const std::string key = GeneratedKey(entries - 10 + i % 10);
    if (DbReplaceEntry(db, key, key, GeneratedText(entries + 1 + i)) != 1)
      state.SkipWithError("replace failed");
    ++i;
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_ReplaceRecent)->Apply(ApplyCollectionSizes);

// For comparison: the first disc, where the whole file moves (a rewrite).
void BM_DeleteFirst(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = WorkPath("delete-first", entries);
  if (!PrepareWorkCopy(entries, db))
    return state.SkipWithError("no database");
  size_t i = 0;
  for (auto _ : state) {
    if (!DbDeleteEntries(db, GeneratedKey(i)))
      state.SkipWithError("nothing deleted");
    ++i;
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_DeleteFirst)->Apply(ApplyCollectionSizes);

void BM_SessionOpen(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string db = CachedDatabase(entries);
  for (auto _ : state) {
    auto session = DbSession::Open(db, nullptr);
    if (!session || !session->Has(GeneratedId(entries / 2)))
      state.SkipWithError("session failed");
  }
}
BENCHMARK(BM_SessionOpen)->Apply(ApplySizes);

// The work of an import into an empty database: every source entry tested by
// identifier, then added, then one commit.
void BM_SessionImportIntoEmpty(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string source = CachedDatabase(entries);
  const std::string db = WorkPath("import", entries);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(db);
    state.ResumeTiming();
    auto session = DbSession::Open(db, nullptr);
    DbWalkEntries(source, [&](std::string_view key, std::string_view text) {
      if (!session->Has(key.substr(key.find('/') + 1)))
        session->Add(key, text);
      return true;
    });
    if (session->Commit() != 1)
      state.SkipWithError("commit failed");
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_SessionImportIntoEmpty)->Apply(ApplySizes);

// An import that overwrites: every entry is already there, so each one is
// deleted by key and added again, and the commit compacts the whole file.
void BM_SessionReplaceEveryEntry(benchmark::State& state) {
  const auto entries = static_cast<size_t>(state.range(0));
  const std::string source = CachedDatabase(entries);
  const std::string db = WorkPath("replace", entries);
  for (auto _ : state) {
    state.PauseTiming();
    if (!CopyCachedDatabase(entries, db))
      return state.SkipWithError("no database");
    state.ResumeTiming();
    auto session = DbSession::Open(db, nullptr);
    DbWalkEntries(source, [&](std::string_view key, std::string_view text) {
      if (session->Has(key.substr(key.find('/') + 1)))
        session->Delete(key);
      session->Add(key, text);
      return true;
    });
    if (session->Commit() != 1)
      state.SkipWithError("commit failed");
  }
  RemoveDatabase(db);
}
BENCHMARK(BM_SessionReplaceEveryEntry)->Apply(ApplySizes);

}  // namespace
}  // namespace zcd::bench

BENCHMARK_MAIN();
