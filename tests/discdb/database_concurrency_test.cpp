#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "discdb/database.h"
#include "discdb/db_test_seam.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

std::string KeyOf(int writer, int i) {
  char key[32];
  std::snprintf(key, sizeof key, "w%d/%08x", writer, i);
  return key;
}

std::string TextOf(int writer, int i) {
  return KeyOf(writer, i) + std::string(static_cast<size_t>(50 + (i * 37) % 900), 'x');
}

// Every entry each writer added, under its key, with its text, in the order
// that writer added them.
void ExpectAllEntries(const std::string& db, int writers, int per_writer) {
  std::vector<int> next(static_cast<size_t>(writers), 0);
  int total = 0;
  const auto result = DbWalkEntries(db, [&](std::string_view key, std::string_view text) {
    const int writer = key[1] - '0';
    const int i = next[static_cast<size_t>(writer)]++;
    EXPECT_EQ(key, KeyOf(writer, i));
    EXPECT_EQ(text, TextOf(writer, i));
    ++total;
    return true;
  });
  EXPECT_EQ(result, DbWalkResult::kDone);
  EXPECT_EQ(total, writers * per_writer);
  EXPECT_EQ(DbCheck(db), std::vector<std::string>{});
}

// Counts how often a reader caught the file damaged or half written while
// writers were at work.
int WatchUntil(const std::string& db, const std::function<bool()>& done) {
  int bad = 0;
  while (!done()) {
    int count = 0;
    DbListEntries(db, std::nullopt, count);
    bad += count < 0 || !DbCheck(db).empty();
  }
  return bad;
}

// Syncs only slow these tests down: they are about locks, not disks.
class DatabaseConcurrencyTest : public ::testing::Test {
 protected:
  void TearDown() override { DbSetSyncEnabled(sync_); }

  bool sync_ = DbSetSyncEnabled(false);
  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
};

TEST_F(DatabaseConcurrencyTest, TwoProcessesAddingAtOnceLoseNothing) {
  constexpr int kPerWriter = 200;
  std::vector<pid_t> children;
  for (int writer = 0; writer < 2; ++writer) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int failures = 0;
      for (int i = 0; i < kPerWriter; ++i)
        failures += DbAddEntry(db_, KeyOf(writer, i), TextOf(writer, i)) != 1;
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  int finished = 0;
  const int bad = WatchUntil(db_, [&] {
    for (pid_t& child : children) {
      int status = 0;
      if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        child = -1;
        ++finished;
      }
    }
    return finished == 2;
  });
  EXPECT_EQ(bad, 0);
  ExpectAllEntries(db_, 2, kPerWriter);
}

TEST_F(DatabaseConcurrencyTest, ThreadsWritingAndReadingAtOnceSeeWholeStates) {
  constexpr int kPerWriter = 100;
  std::vector<std::thread> writers;
  std::atomic<int> done{0};
  for (int writer = 0; writer < 3; ++writer) {
    writers.emplace_back([&, writer] {
      for (int i = 0; i < kPerWriter; ++i) {
        EXPECT_EQ(DbAddEntry(db_, KeyOf(writer, i), TextOf(writer, i)), 1);
        // A delete and re-add in between rewrites the whole file.
        if (i % 10 == 9) {
          EXPECT_TRUE(DbDeleteEntries(db_, KeyOf(writer, i)));
          EXPECT_EQ(DbAddEntry(db_, KeyOf(writer, i), TextOf(writer, i)), 1);
        }
      }
      ++done;
    });
  }
  EXPECT_EQ(WatchUntil(db_, [&] { return done == 3; }), 0);
  for (auto& writer : writers)
    writer.join();
  ExpectAllEntries(db_, 3, kPerWriter);
}

}  // namespace
}  // namespace zcd
