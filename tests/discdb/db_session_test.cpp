#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "discdb/database.h"
#include "discdb/db_bytes.h"
#include "discdb/db_test_seam.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::Le32;
using test::Row;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class Operations {
 public:
  explicit Operations(unsigned seed) : random_(seed) {}

  std::string Key() {
    static const char* const categories[] = {"rock", "jazz", "classical", "misc", "cached"};
    static const char* const ids[] = {"0c01a202", "deadbeef", "00000001", "12345678", "abcdef01"};
    switch (Pick(12)) {
      case 0:
        return "noslash";
      case 1:
        return "a/b/" + std::string(ids[Pick(5)]);
      case 2:
        return std::string(55, 'k');
      case 3:
        return Pick(2) ? "" : std::string(56, 'k');  // refused alike
      default:
        return std::string(categories[Pick(5)]) + "/" + ids[Pick(5)];
    }
  }
  std::string Search() {
    static const char* const searches[] = {"0c01a202", "deadbeef", "rock/", "ssic", "/0000",
                                           "a/b/",     "noslash",  "",      "zzz",  "12345678"};
    return Pick(3) == 0 ? Key() : searches[Pick(10)];
  }
  std::string Text() {
    // Short texts too: those make an add move every row over itself.
    std::string text(Pick(3) == 0 ? 1 + Pick(40) : 100 + Pick(900), ' ');
    for (char& c : text)
      c = static_cast<char>(Pick(256));
    return text;
  }
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

 private:
  std::mt19937 random_;
};

class DbSessionTest : public ::testing::Test {
 protected:
  void TearDown() override { DbSetSyncEnabled(sync_); }

  test::TempDir dir_;
  bool sync_ = DbSetSyncEnabled(false);  // the bytes matter here, not the disk
};

TEST_F(DbSessionTest, WritesWhatTheSameCallsOneByOneWouldWrite) {
  struct Start {
    const char* name;
    std::function<void(const std::string&)> make;
  };
  const std::string odd = "PACK" + Le32(21) + Le32(128) + "BBB##AAAA" +
                          Row("rock/0c01a202", 17, 4).replace(20, 3, "xyz") +
                          Row("jazz/deadbeef", 12, 3);
  const std::vector<Start> starts = {
      {"missing", [](const std::string&) {}},
      {"empty file", [](const std::string& path) { WriteFile(path, ""); }},
      {"sound",
       [](const std::string& path) {
         Operations ops(99);
         for (int i = 0; i < 20; ++i)
           DbAddEntry(path, "misc/" + std::to_string(10000000 + i), ops.Text());
       }},
      {"odd layout", [&](const std::string& path) { WriteFile(path, odd); }},
  };
  int run = 0;
  for (unsigned seed = 1; seed <= 2; ++seed) {
    for (const Start& start : starts) {
      SCOPED_TRACE(std::string(start.name) + " seed " + std::to_string(seed));
      // Both ways of journaling an add must give the same bytes.
      const int64_t old_limit = DbSetFullJournalLimit(seed == 1 ? 4 << 20 : 0);
      const int64_t old_chunk = DbSetIndexMoveChunk(seed == 1 ? 1 << 20 : 192);
      const std::string a = std::string("a").append(std::to_string(run)).append(".zdb");
      const std::string b = std::string("b").append(std::to_string(run++)).append(".zdb");
      const std::string path_a = dir_.File(a);
      const std::string path_b = dir_.File(b);
      start.make(path_a);
      start.make(path_b);
      std::string error;
      auto session = DbSession::Open(path_b, &error);
      ASSERT_NE(session, nullptr) << error;
      Operations ops(seed);
      for (int step = 0; step < 150; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        switch (ops.Pick(6)) {
          case 0:
          case 1: {
            const std::string key = ops.Key();
            const std::string text = ops.Text();
            ASSERT_EQ(session->Add(key, text), DbAddEntry(path_a, key, text));
            break;
          }
          case 2: {
            const std::string search = ops.Search();
            ASSERT_EQ(session->Delete(search), DbDeleteEntries(path_a, search)) << search;
            break;
          }
          case 3:
            if (ops.Pick(8) == 0) {
              ASSERT_EQ(session->Commit(), 1);
              ASSERT_EQ(dir_.Read(b), dir_.Read(a));
            }
            break;
          default: {
            const std::string search = ops.Search();
            EXPECT_EQ(session->Has(search), DbHasEntry(path_a, search)) << search;
            EXPECT_EQ(session->Find(search), DbFindEntry(path_a, search)) << search;
          }
        }
      }
      ASSERT_EQ(session->Commit(), 1);
      session.reset();
      EXPECT_EQ(dir_.Read(b), dir_.Read(a));
      DbSetFullJournalLimit(old_limit);
      DbSetIndexMoveChunk(old_chunk);
    }
  }
}

TEST_F(DbSessionTest, OpensOnlyWhatItMayWrite) {
  const std::string db = dir_.File("ZCD.zdb");
  std::string error;
  auto session = DbSession::Open(db, &error);
  ASSERT_NE(session, nullptr) << error;
  EXPECT_FALSE(session->Has(""));
  EXPECT_FALSE(session->Delete(""));
  EXPECT_EQ(session->Commit(), 1);
  session.reset();
  EXPECT_FALSE(std::filesystem::exists(db));

  const std::string damaged = "PACK" + Le32(16) + Le32(64) + "AAAA" + Row("rock/1", 40, 4);
  dir_.Write("ZCD.zdb", damaged);
  EXPECT_EQ(DbSession::Open(db, &error), nullptr);
  EXPECT_NE(error.find("row 1"), std::string::npos) << error;
  EXPECT_EQ(dir_.Read("ZCD.zdb"), damaged);
}

TEST_F(DbSessionTest, CommitWithoutChangesLeavesTheFileAlone) {
  const std::string db = dir_.File("ZCD.zdb");
  ASSERT_EQ(DbAddEntry(db, "rock/00000001", "text"), 1);
  struct stat before {};
  ASSERT_EQ(::stat(db.c_str(), &before), 0);
  auto session = DbSession::Open(db, nullptr);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->Find("00000001"), "text");
  EXPECT_FALSE(session->Delete("jazz"));
  EXPECT_EQ(session->Commit(), 1);
  session.reset();
  struct stat after {};
  ASSERT_EQ(::stat(db.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(DbSessionTest, HoldsOffOtherWritersUntilItGoes) {
  const std::string db = dir_.File("ZCD.zdb");
  ASSERT_EQ(DbAddEntry(db, "rock/00000001", "one"), 1);
  auto session = DbSession::Open(db, nullptr);
  ASSERT_NE(session, nullptr);
  ASSERT_EQ(session->Add("jazz/00000002", "two"), 1);

  // This thread may read what it holds, but a write of its own would wait
  // for itself: it fails at once.
  EXPECT_EQ(DbFindEntry(db, "00000001"), "one");
  int walked = 0;
  EXPECT_EQ(DbWalkEntries(db, [&](auto, auto) { return ++walked > 0; }), DbWalkResult::kDone);
  EXPECT_EQ(walked, 1);
  EXPECT_EQ(DbAddEntry(db, "misc/00000003", "three"), -1);
  EXPECT_FALSE(DbDeleteEntries(db, "rock"));
  EXPECT_EQ(DbSession::Open(db, nullptr), nullptr);

  std::atomic<bool> added{false};
  std::thread writer([&] {
    EXPECT_EQ(DbAddEntry(db, "blues/00000004", "four"), 1);
    added = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(added);
  ASSERT_EQ(session->Commit(), 1);
  EXPECT_FALSE(added);
  session.reset();
  writer.join();
  std::vector<std::string> keys;
  DbWalkEntries(db, [&](std::string_view key, std::string_view) {
    keys.emplace_back(key);
    return true;
  });
  EXPECT_EQ(keys, (std::vector<std::string>{"rock/00000001", "jazz/00000002", "blues/00000004"}));
}

}  // namespace
}  // namespace zcd
