// Deletes and replaces that move only the file's tail, held against the
// whole-file rewrite they stand in for.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "discdb/database.h"
#include "discdb/db_bytes.h"
#include "discdb/db_format.h"
#include "discdb/db_test_seam.h"
#include "discdb/random_db.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::Head;
using test::Row;

ino_t Inode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class DatabaseTailTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DbSetInPlaceTailShare(share_);
    DbSetSyncEnabled(sync_);
    DbSetFullJournalLimit(full_limit_);
    DbSetIndexMoveChunk(chunk_);
  }

  // Every test runs twice: with the whole tail copied to the journal, and as
  // on a big index, whose leading rows move in chunks of two rows.
  void RunBothWays(const std::function<void()>& body) {
    for (const bool big : {false, true}) {
      SCOPED_TRACE(big ? "big index" : "small index");
      DbSetFullJournalLimit(big ? 0 : 4 << 20);
      DbSetIndexMoveChunk(big ? 128 : 1 << 20);
      body();
      if (HasFatalFailure())
        return;
    }
  }

  std::string moved() const { return dir_.File("moved.zdb"); }
  std::string rewritten() const { return dir_.File("rewritten.zdb"); }

  // Both files start with the same bytes; each has written itself once, so
  // that in-place writes are allowed from then on.
  void Start(const std::string& bytes) {
    for (const auto& path : {moved(), rewritten()}) {
      std::filesystem::remove(path);
      ASSERT_EQ(DbAddEntry(path, "seed/00000000", "seed"), 1);
      std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
  }

  // `change` run on one file moving the tail in place and on the other with
  // the whole-file rewrite; both must answer alike and hold the same bytes.
  void ExpectSame(const std::function<int(const std::string&)>& change) {
    DbSetInPlaceTailShare(0);
    const int rewritten_result = change(rewritten());
    DbSetInPlaceTailShare(100);
    const ino_t inode = Inode(moved());
    const int moved_result = change(moved());
    ASSERT_EQ(moved_result, rewritten_result);
    ASSERT_TRUE(dir_.Read("moved.zdb") == dir_.Read("rewritten.zdb"))
        << dir_.Read("moved.zdb").size() << " bytes, not " << dir_.Read("rewritten.zdb").size();
    ASSERT_FALSE(std::filesystem::exists(moved() + "-journal"));
    in_place_ += moved_result > 0 && Inode(moved()) == inode;
  }

  // A replace in place against a rewriting delete followed by an add; a
  // replace whose entry an add refuses, or with an empty old key, deletes
  // nothing.
  void ExpectReplaceSame(const std::string& old_key, const std::string& key,
                         const std::string& text) {
    DbSetInPlaceTailShare(0);
    if (!SearchText(old_key).empty() && EntryFits(key, text))
      DbDeleteEntries(rewritten(), old_key);
    const int added = DbAddEntry(rewritten(), key, text);
    DbSetInPlaceTailShare(100);
    const ino_t inode = Inode(moved());
    ASSERT_EQ(DbReplaceEntry(moved(), old_key, key, text), added);
    ASSERT_TRUE(dir_.Read("moved.zdb") == dir_.Read("rewritten.zdb"))
        << dir_.Read("moved.zdb").size() << " bytes, not " << dir_.Read("rewritten.zdb").size();
    in_place_ += added > 0 && Inode(moved()) == inode;
  }

  void RandomRounds();

  test::TempDir dir_;
  int share_ = DbSetInPlaceTailShare(50);
  bool sync_ = DbSetSyncEnabled(false);  // about bytes, not disks
  int64_t full_limit_ = DbSetFullJournalLimit(4 << 20);
  int64_t chunk_ = DbSetIndexMoveChunk(1 << 20);
  int in_place_ = 0;
};

// Random databases with colliding keys; random deletes, and replaces held
// against a rewriting delete followed by an add.
TEST_F(DatabaseTailTest, MovingTheTailLeavesWhatTheRewriteLeaves) {
  RunBothWays([&] { RandomRounds(); });
  EXPECT_GT(in_place_, 600);  // the in-place path was really taken
}

void DatabaseTailTest::RandomRounds() {
  test::RandomDb random(11);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Start(Head(12, 0));
    std::vector<std::string> keys;
    const size_t rows = random.Pick(30);
    for (size_t i = 0; i < rows; ++i) {
      keys.push_back(random.Key());
      const std::string text = random.Text();
      ExpectSame([&](const std::string& db) { return DbAddEntry(db, keys.back(), text); });
      ASSERT_FALSE(HasFatalFailure());
    }
    for (int step = 0; step < 12; ++step) {
      const std::string search = random.Search(keys.empty() ? "" : keys[random.Pick(keys.size())]);
      if (random.Pick(2) == 0) {
        ExpectSame([&](const std::string& db) { return DbDeleteEntries(db, search) ? 1 : 0; });
        ASSERT_FALSE(HasFatalFailure()) << "delete " << search;
        continue;
      }
      keys.push_back(random.Key());
      ExpectReplaceSame(search, keys.back(), random.Text());
      ASSERT_FALSE(HasFatalFailure()) << "replace " << search;
    }
  }
}

// Files other writers may have left: keys with bytes after their zero (the
// rewrite clears them), and texts out of row order (only a rewrite compacts
// those). Rows before, at and after the odd ones are removed or replaced.
TEST_F(DatabaseTailTest, OddRowsGiveTheSameBytesAsTheRewrite) {
  const auto odd = [](const char* key, int32_t offset, int32_t length) {
    return Row(key, offset, length).replace(50, 3, "xyz");
  };
  const std::string texts = Head(24, 192) + "AAABBBBCCCCC";
  const std::string files[] = {
      texts + odd("rock/11111111", 12, 3) + Row("jazz/22222222", 15, 4) +
          Row("folk/33333333", 19, 5),
      texts + Row("rock/11111111", 12, 3) + odd("jazz/22222222", 15, 4) +
          odd("folk/33333333", 19, 5),
      texts + Row("rock/11111111", 12, 3) + Row("jazz/22222222", 19, 5) +
          Row("folk/33333333", 15, 4),
  };
  RunBothWays([&] {
    for (const auto& file : files) {
      for (const char* search : {"11111111", "22222222", "33333333", "/", "44444444", ""}) {
        SCOPED_TRACE(search);
        Start(file);
        ExpectSame([&](const std::string& db) { return DbDeleteEntries(db, search) ? 1 : 0; });
        Start(file);
        ExpectReplaceSame(search, "misc/44444444", "NEW");
      }
    }
  });
  EXPECT_GT(in_place_, 30);
}

// The replace as the editor uses it, byte for byte: the old full key's row
// goes, a longer or shorter text comes last under the new key; nothing
// matching is a plain add; what an add refuses is refused untouched.
TEST_F(DatabaseTailTest, AReplaceMovesTheEntryToTheEndUnderItsNewKey) {
  const std::string start = Head(24, 192) + "AAABBBBCCCCC" + Row("rock/11111111", 12, 3) +
                            Row("punkrock/11111111", 15, 4) + Row("folk/33333333", 19, 5);
  const struct {
    const char* old_key;
    const char* key;
    const char* text;
    int result;
    std::string after;
  } cases[] = {
      {"rock/11111111", "jazz/11111111", "DDDDDD", 1,
       Head(27, 192) + "BBBBCCCCCDDDDDD" + Row("punkrock/11111111", 12, 4) +
           Row("folk/33333333", 16, 5) + Row("jazz/11111111", 21, 6)},
      {"folk/33333333", "folk/33333333", "E", 1,
       Head(20, 192) + "AAABBBBE" + Row("rock/11111111", 12, 3) + Row("punkrock/11111111", 15, 4) +
           Row("folk/33333333", 19, 1)},
      {"", "misc/44444444", "F", 1,
       Head(25, 256) + "AAABBBBCCCCCF" + start.substr(24) + Row("misc/44444444", 24, 1)},
      {"rock/11111111", "", "G", 0, start},
      {"rock/11111111", "jazz/11111111", "", 0, start},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.old_key);
    Start(start);
    DbSetInPlaceTailShare(100);
    EXPECT_EQ(DbReplaceEntry(moved(), c.old_key, c.key, c.text), c.result);
    EXPECT_EQ(dir_.Read("moved.zdb"), c.after);
  }
  std::filesystem::remove(moved());
  EXPECT_EQ(DbReplaceEntry(moved(), "rock/11111111", "rock/11111111", "H"), 1);
  EXPECT_EQ(dir_.Read("moved.zdb"), Head(13, 64) + "H" + Row("rock/11111111", 12, 1));
  dir_.Write("moved.zdb", "not a database at all");
  EXPECT_EQ(DbReplaceEntry(moved(), "rock/11111111", "rock/11111111", "H"), -1);
  EXPECT_EQ(dir_.Read("moved.zdb"), "not a database at all");
}

}  // namespace
}  // namespace zcd
