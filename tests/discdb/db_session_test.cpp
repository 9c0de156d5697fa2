#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "discdb/database.h"
#include "discdb/db_bytes.h"
#include "discdb/db_test_seam.h"
#include "discdb/random_db.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::Head;
using test::Row;

class DbSessionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DbSetSyncEnabled(sync_);
    DbSetFullJournalLimit(full_limit_);
    DbSetIndexMoveChunk(chunk_);
  }

  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
  bool sync_ = DbSetSyncEnabled(false);  // the bytes matter here, not the disk
  int64_t full_limit_ = DbSetFullJournalLimit(4 << 20);
  int64_t chunk_ = DbSetIndexMoveChunk(1 << 20);
};

TEST_F(DbSessionTest, WritesWhatTheSameCallsOneByOneWouldWrite) {
  const std::string odd = Head(21, 128) + "BBB##AAAA" +
                          Row("rock/0c01a202", 17, 4).replace(20, 3, "xyz") +
                          Row("jazz/deadbeef", 12, 3);
  const char* const starts[] = {"missing", "empty file", "sound", "odd layout"};
  for (int run = 0; run < 8; ++run) {
    const unsigned seed = 1 + run / 4;
    SCOPED_TRACE(std::string(starts[run % 4]) + " seed " + std::to_string(seed));
    // Both ways of journaling an add must give the same bytes.
    DbSetFullJournalLimit(seed == 1 ? 4 << 20 : 0);
    DbSetIndexMoveChunk(seed == 1 ? 1 << 20 : 192);
    const std::string a = "a" + std::to_string(run), b = "b" + std::to_string(run);
    for (const std::string& name : {a, b}) {
      if (run % 4 == 1 || run % 4 == 3)
        dir_.Write(name, run % 4 == 1 ? "" : odd);
      for (int i = 0; run % 4 == 2 && i < 20; ++i)
        DbAddEntry(dir_.File(name), "misc/" + std::to_string(10000000 + i),
                   std::string(1 + i * 37, static_cast<char>('a' + i)));
    }
    std::string error;
    auto session = DbSession::Open(dir_.File(b), &error);
    ASSERT_NE(session, nullptr) << error;
    const std::string one_by_one = dir_.File(a);
    test::RandomDb random(seed);
    std::string stored = "rock/0c01a202";
    for (int step = 0; step < 150; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      const std::string search = random.Search(stored);
      switch (random.Pick(6)) {
        case 0:
        case 1: {
          const std::string key = random.Key();
          const std::string text = random.Text();
          ASSERT_EQ(session->Add(key, text), DbAddEntry(one_by_one, key, text));
          stored = key.empty() ? stored : key;
          break;
        }
        case 2:
          ASSERT_EQ(session->Delete(search), DbDeleteEntries(one_by_one, search)) << search;
          break;
        case 3:
          if (random.Pick(8) == 0) {
            ASSERT_EQ(session->Commit(), 1);
            ASSERT_EQ(dir_.Read(b), dir_.Read(a));
          }
          break;
        default:
          EXPECT_EQ(session->Has(search), DbHasEntry(one_by_one, search)) << search;
          EXPECT_EQ(session->Find(search), DbFindEntry(one_by_one, search)) << search;
      }
    }
    ASSERT_EQ(session->Commit(), 1);
    session.reset();
    EXPECT_EQ(dir_.Read(b), dir_.Read(a));
  }
}

TEST_F(DbSessionTest, OpensOnlyWhatItMayWriteAndWritesOnlyChanges) {
  std::string error;
  auto session = DbSession::Open(db_, &error);
  ASSERT_NE(session, nullptr) << error;
  EXPECT_FALSE(session->Has(""));
  EXPECT_FALSE(session->Delete(""));
  EXPECT_EQ(session->Commit(), 1);
  session.reset();
  EXPECT_FALSE(std::filesystem::exists(db_));

  ASSERT_EQ(DbAddEntry(db_, "rock/00000001", "text"), 1);
  struct stat before {};
  ASSERT_EQ(::stat(db_.c_str(), &before), 0);
  session = DbSession::Open(db_, nullptr);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->Find("00000001"), "text");
  EXPECT_FALSE(session->Delete("jazz"));
  EXPECT_EQ(session->Commit(), 1);
  session.reset();
  struct stat after {};
  ASSERT_EQ(::stat(db_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // not rewritten

  const std::string damaged = Head(16, 64) + "AAAA" + Row("rock/1", 40, 4);
  dir_.Write("ZCD.zdb", damaged);
  EXPECT_EQ(DbSession::Open(db_, &error), nullptr);
  EXPECT_NE(error.find("row 1"), std::string::npos) << error;
  EXPECT_EQ(dir_.Read("ZCD.zdb"), damaged);
}

TEST_F(DbSessionTest, HoldsOffOtherWritersUntilItGoes) {
  ASSERT_EQ(DbAddEntry(db_, "rock/00000001", "one"), 1);
  auto session = DbSession::Open(db_, nullptr);
  ASSERT_NE(session, nullptr);
  ASSERT_EQ(session->Add("jazz/00000002", "two"), 1);

  // This thread may read what it holds, but a write of its own would wait
  // for itself: it fails at once.
  EXPECT_EQ(DbFindEntry(db_, "00000001"), "one");
  int walked = 0;
  EXPECT_EQ(DbWalkEntries(db_, [&](auto, auto) { return ++walked > 0; }), DbWalkResult::kDone);
  EXPECT_EQ(walked, 1);
  EXPECT_EQ(DbAddEntry(db_, "misc/00000003", "three"), -1);
  EXPECT_FALSE(DbDeleteEntries(db_, "rock"));
  EXPECT_EQ(DbSession::Open(db_, nullptr), nullptr);

  std::atomic<bool> added{false};
  std::thread writer([&] {
    EXPECT_EQ(DbAddEntry(db_, "blues/00000004", "four"), 1);
    added = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(added);
  ASSERT_EQ(session->Commit(), 1);
  EXPECT_FALSE(added);
  session.reset();
  writer.join();
  std::string keys;
  DbWalkEntries(db_, [&](std::string_view key, std::string_view) {
    keys.append(key).append(" ");
    return true;
  });
  EXPECT_EQ(keys, "rock/00000001 jazz/00000002 blues/00000004 ");
}

}  // namespace
}  // namespace zcd
