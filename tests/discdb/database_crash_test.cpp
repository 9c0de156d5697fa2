#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

#include "discdb/database.h"
#include "discdb/db_test_seam.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void PutFile(const std::string& path, const std::optional<std::string>& bytes) {
  if (bytes)
    std::ofstream(path, std::ios::binary | std::ios::trunc) << *bytes;
  else
    std::filesystem::remove(path);
}

std::string TextFor(int i, size_t length) {
  std::string text = "DISCID=" + std::to_string(i) + "\r\n";
  while (text.size() < length)
    text += static_cast<char>('a' + (text.size() * 7 + i) % 26);
  text.resize(length);
  return text;
}

// What an interrupted writer leaves: the database and its journal.
struct FileState {
  std::optional<std::string> db;
  std::optional<std::string> journal;
};

class DatabaseCrashTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DbSimulateCrashAfter(-1);
    DbSetFullJournalLimit(full_limit_);
    DbSetSyncEnabled(sync_);
    DbSetIndexMoveChunk(chunk_);
    DbSetInPlaceTailShare(share_);
  }

  std::string db() const { return dir_.File("ZCD.zdb"); }
  FileState Capture() const { return {ReadFile(db()), ReadFile(db() + "-journal")}; }
  void Restore(const FileState& state) const {
    PutFile(db(), state.db);
    PutFile(db() + "-journal", state.journal);
  }

  // A fresh reader undoes what is half done and then finds exactly the file
  // before or after the operation.
  void ExpectWhole(const FileState& start, const std::optional<std::string>& after) {
    EXPECT_EQ(DbCheck(db()), std::vector<std::string>{});
    const auto now = ReadFile(db());
    EXPECT_TRUE(now == start.db || now == after);
    EXPECT_FALSE(std::filesystem::exists(db() + "-journal"));
    ++(now == after ? afters_ : befores_);
  }

  // Stops the operation at every one of its steps in turn, and with `nested`
  // also stops the undoing of each of those at every one of its steps.
  void InterruptEverywhere(const FileState& start, const std::function<bool()>& operation,
                           bool nested) {
    Restore(start);
    ASSERT_TRUE(operation());
    const auto after = ReadFile(db());
    for (DbCrashKind kind : {DbCrashKind::kBefore, DbCrashKind::kTorn}) {
      for (long n = 0;; ++n) {
        SCOPED_TRACE("crash after " + std::to_string(n) + " steps");
        Restore(start);
        DbSimulateCrashAfter(n, kind);
        const bool result = operation();
        const bool crashed = DbSimulatedCrashHappened();
        DbSimulateCrashAfter(-1);
        if (!crashed) {
          EXPECT_TRUE(result);
          EXPECT_EQ(ReadFile(db()), after);
          break;
        }
        ASSERT_LT(n, 1000);
        const FileState interrupted = Capture();
        for (long m = 0; nested; ++m) {
          Restore(interrupted);
          DbSimulateCrashAfter(m, kind);
          DbCheck(db());
          const bool recovery_crashed = DbSimulatedCrashHappened();
          DbSimulateCrashAfter(-1);
          if (!recovery_crashed)
            break;
          ExpectWhole(start, after);
        }
        Restore(interrupted);
        ExpectWhole(start, after);
      }
    }
  }

  FileState Populated(int rows) {
    PutFile(db(), std::nullopt);
    for (int i = 0; i < rows; ++i)
      EXPECT_EQ(DbAddEntry(db(), "rock/" + std::to_string(10000000 + i), TextFor(i, 90 + i)), 1);
    return Capture();
  }

  test::TempDir dir_;
  int64_t full_limit_ = DbSetFullJournalLimit(4 << 20);
  int64_t chunk_ = DbSetIndexMoveChunk(1 << 20);
  int share_ = DbSetInPlaceTailShare(50);
  // The steps are what matters here, not whether they reach the disk.
  bool sync_ = DbSetSyncEnabled(false);
  int befores_ = 0;
  int afters_ = 0;
};

// An add stopped at every step: with the index moving in chunks of two rows
// marked in the journal (a chunk longer than the text covers its own old
// bytes, so it waits in the slot), in one piece, or with the whole old index
// saved and synced first. For the shortest text the undoing is itself stopped
// everywhere, where it is hardest: bytes taken from old places, new places and
// the slot. A first add leaves no file or a whole one.
TEST_F(DatabaseCrashTest, AnInterruptedAddIsUndone) {
  const struct {
    int64_t full_limit, chunk;
    std::vector<size_t> lengths;
  } ways[] = {
      {0, 2 * 64, {1, 64, 127, 128, 300}}, {0, 1 << 20, {10}}, {4 << 20, 1 << 20, {1, 300}}};
  for (const auto& way : ways) {
    DbSetFullJournalLimit(way.full_limit);
    DbSetIndexMoveChunk(way.chunk);
    const FileState start = Populated(5);
    for (const size_t length : way.lengths) {
      SCOPED_TRACE("text " + std::to_string(length) + " chunk " + std::to_string(way.chunk));
      InterruptEverywhere(
          start, [&] { return DbAddEntry(db(), "jazz/0c01a202", TextFor(99, length)) == 1; },
          length == 1);
    }
  }
  EXPECT_GT(befores_, 120);
  const auto first_add = [&] { return DbAddEntry(db(), "rock/0c01a202", "text") == 1; };
  InterruptEverywhere({}, first_add, false);
  InterruptEverywhere({std::string("PACK\x0c\0\0\0\0\0\0\0", 12), std::nullopt}, first_add, true);
}

TEST_F(DatabaseCrashTest, AnInterruptedDeleteOrCommitLeavesOneWholeFile) {
  const FileState start = Populated(6);
  InterruptEverywhere(
      start, [&] { return DbDeleteEntries(db(), "10000002"); }, false);
  for (const bool with_delete : {false, true}) {
    InterruptEverywhere(
        start,
        [&] {
          auto session = DbSession::Open(db(), nullptr);
          return session && session->Add("jazz/0c01a202", "new text") == 1 &&
                 (!with_delete || session->Delete("10000004")) && session->Commit() == 1;
        },
        false);
  }
  EXPECT_GT(afters_, 0);  // a crash after the rename keeps the new file
}

ino_t Inode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Deletes and replaces that move the file's tail in place, stopped at every
// step, with the journal synced (small index) or not. For a middle row the
// undoing is itself stopped everywhere. Each one really ran in place: the
// file kept its inode.
TEST_F(DatabaseCrashTest, AnInterruptedDeleteOrReplaceInPlaceIsUndone) {
  DbSetInPlaceTailShare(100);
  const struct {
    const char* name;
    std::function<bool()> operation;
    bool nested;
  } operations[] = {
      {"delete last", [&] { return DbDeleteEntries(db(), "10000005"); }, false},
      {"delete middle", [&] { return DbDeleteEntries(db(), "10000002"); }, true},
      {"delete first", [&] { return DbDeleteEntries(db(), "10000000"); }, false},
      {"delete all", [&] { return DbDeleteEntries(db(), "1000000"); }, false},
      {"replace middle by longer",
       [&] { return DbReplaceEntry(db(), "rock/10000002", "jazz/0c01a202", TextFor(7, 400)) == 1; },
       true},
      {"replace last by shorter",
       [&] { return DbReplaceEntry(db(), "rock/10000005", "rock/10000005", "x") == 1; }, false},
      {"replace nothing",
       [&] { return DbReplaceEntry(db(), "rock/99999999", "jazz/0c01a202", TextFor(8, 50)) == 1; },
       false},
  };
  for (const int64_t full_limit : {int64_t{0}, int64_t{4} << 20}) {
    DbSetFullJournalLimit(full_limit);
    const FileState start = Populated(6);
    for (const auto& operation : operations) {
      SCOPED_TRACE(std::string(operation.name) + (full_limit ? ", synced" : ""));
      Restore(start);
      const ino_t inode = Inode(db());
      ASSERT_TRUE(operation.operation());
      EXPECT_EQ(Inode(db()), inode);
      InterruptEverywhere(start, operation.operation, operation.nested);
    }
  }
  EXPECT_GT(befores_, 150);
}

// On an index too big to save, a delete or replace moves the index's leading
// rows by the texts' change in size, in chunks through the journal's slot:
// down for a delete, up for a longer text. Chunks of one row (never over their
// own old bytes), two rows (over them, so through the slot) and all at once,
// each stopped at every step, the undoing too.
TEST_F(DatabaseCrashTest, AnInterruptedDeleteOrReplaceOnABigIndexIsUndone) {
  DbSetInPlaceTailShare(100);
  DbSetFullJournalLimit(0);
  Populated(8);  // texts of 90 to 97 bytes
  ASSERT_EQ(DbAddEntry(db(), "jazz/0c01a202", TextFor(20, 60)), 1);
  ASSERT_EQ(DbAddEntry(db(), "rock/10000008", TextFor(21, 70)), 1);
  ASSERT_EQ(DbAddEntry(db(), "jazz/0c01a203", TextFor(22, 80)), 1);
  const FileState start = Capture();
  const struct {
    const char* name;
    std::function<bool()> operation;
  } operations[] = {
      {"delete last", [&] { return DbDeleteEntries(db(), "0c01a203"); }},
      {"delete two apart", [&] { return DbDeleteEntries(db(), "jazz/"); }},
      {"delete middle", [&] { return DbDeleteEntries(db(), "10000005"); }},
      {"replace by a little longer",
       [&] {
         return DbReplaceEntry(db(), "rock/10000006", "rock/10000006", TextFor(5, 130)) == 1;
       }},
      {"replace by much longer",
       [&] {
         return DbReplaceEntry(db(), "rock/10000005", "jazz/0c01a202", TextFor(6, 700)) == 1;
       }},
      {"replace by the same length",
       [&] { return DbReplaceEntry(db(), "rock/10000007", "rock/10000007", TextFor(4, 97)) == 1; }},
  };
  for (const int64_t chunk : {int64_t{64}, int64_t{128}, int64_t{1} << 20}) {
    DbSetIndexMoveChunk(chunk);
    for (const auto& operation : operations) {
      SCOPED_TRACE(std::string(operation.name) + ", chunk " + std::to_string(chunk));
      Restore(start);
      const ino_t inode = Inode(db());
      ASSERT_TRUE(operation.operation());
      EXPECT_EQ(Inode(db()), inode);
      InterruptEverywhere(start, operation.operation, chunk == 128);
    }
  }
  EXPECT_GT(befores_, 300);
}

// The journal of a delete on a big index holds what is removed and the rows
// behind it, not the index.
TEST_F(DatabaseCrashTest, ADeleteOnABigIndexDoesNotCopyTheIndex) {
  DbSetInPlaceTailShare(100);
  DbSetFullJournalLimit(0);
  constexpr int kRows = 300;
  const FileState start = Populated(kRows);
  std::optional<std::string> journal;
  for (long n = 0; n < 20 && !journal; ++n) {
    Restore(start);
    DbSimulateCrashAfter(n);
    DbDeleteEntries(db(), std::to_string(10000000 + kRows - 1));
    DbSimulateCrashAfter(-1);
    journal = ReadFile(db() + "-journal");
  }
  static_assert(kRows * 64 > 8192);
  ASSERT_TRUE(journal.has_value());
  EXPECT_LT(journal->size(), size_t{8192});
  ExpectWhole(start, std::nullopt);
}

TEST_F(DatabaseCrashTest, AJournalThatNoLongerFitsIsReportedAndBlocksWrites) {
  DbSetFullJournalLimit(0);
  const FileState start = Populated(3);
  DbSimulateCrashAfter(6);
  EXPECT_EQ(DbAddEntry(db(), "jazz/0c01a202", TextFor(1, 500)), -1);
  DbSimulateCrashAfter(-1);
  ASSERT_TRUE(std::filesystem::exists(db() + "-journal"));
  // Someone put a shorter file in the database's place meanwhile.
  const std::string other = start.db->substr(0, 40);
  PutFile(db(), other);

  const auto problems = DbCheck(db());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("interrupted write"), std::string::npos) << problems[0];
  int count = 0;
  DbListEntries(db(), std::nullopt, count);
  EXPECT_EQ(count, -1);
  EXPECT_EQ(DbFindEntry(db(), ""), std::nullopt);
  EXPECT_EQ(DbAddEntry(db(), "rock/1", "x"), -1);
  EXPECT_FALSE(DbDeleteEntries(db(), ""));
  EXPECT_EQ(ReadFile(db()), other);
}

// The writes of the kill test, the same in the victim and in the replay.
void ApplyStep(const std::string& db, int i) {
  const std::string key = "misc/" + std::to_string(20000000 + i);
  switch (i % 10) {
    case 7:
      DbDeleteEntries(db, std::to_string(20000000 + i - 5));
      break;
    case 8:
      if (auto session = DbSession::Open(db, nullptr)) {
        session->Add(key, TextFor(i, 700));
        session->Delete(std::to_string(20000000 + i - 3));
        session->Add("jazz/" + std::to_string(20000000 + i), TextFor(i, 20));
        session->Commit();
      }
      break;
    case 9:
      DbAddEntry(db, key, TextFor(i, 1 + i % 60));
      break;
    default:
      DbAddEntry(db, key, TextFor(i, 400 + i % 700));
  }
}

TEST_F(DatabaseCrashTest, AWriterKilledAtRandomLeavesAStateOfItsSequence) {
  const FileState seed = Populated(400);
  const std::string model = dir_.File("model.zdb");
  std::mt19937 random(7);
  int interrupted = 0;
  constexpr int kMaxSteps = 3000;
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Restore(seed);
    std::filesystem::remove(db() + "-new");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      DbSetSyncEnabled(true);  // the victim runs as the player would
      DbSetFullJournalLimit(round % 2 ? 0 : 4 << 20);
      for (int i = 0; i < kMaxSteps; ++i)
        ApplyStep(db(), i);
      ::_exit(0);
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(2000, 60000)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer finished before it was killed";
    interrupted +=
        std::filesystem::exists(db() + "-journal") || std::filesystem::exists(db() + "-new");

    ASSERT_EQ(DbCheck(db()), std::vector<std::string>{});
    const auto victim = ReadFile(db());
    PutFile(model, seed.db);
    bool matched = ReadFile(model) == victim;
    for (int i = 0; i < kMaxSteps && !matched; ++i) {
      ApplyStep(model, i);
      matched = ReadFile(model) == victim;
    }
    EXPECT_TRUE(matched);
  }
  EXPECT_GT(interrupted, 0);
}

}  // namespace
}  // namespace zcd
