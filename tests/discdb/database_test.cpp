#include "discdb/database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "discdb/db_bytes.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::Head;
using test::Le32;
using test::Row;

class DatabaseTest : public ::testing::Test {
 protected:
  std::string db() const { return dir_.File("ZCD.zdb"); }
  std::string Bytes() const { return dir_.Read("ZCD.zdb"); }
  void Put(const std::string& bytes) const { dir_.Write("ZCD.zdb", bytes); }
  void AddAll(std::initializer_list<std::pair<const char*, const char*>> entries) {
    for (const auto& [key, text] : entries)
      ASSERT_EQ(DbAddEntry(db(), key, text), 1) << key;
  }
  std::vector<std::string> WalkKeys() const {
    std::vector<std::string> keys;
    DbWalkEntries(db(), [&](std::string_view key, std::string_view) {
      keys.emplace_back(key);
      return true;
    });
    return keys;
  }

  test::TempDir dir_;
};

TEST_F(DatabaseTest, AddsWriteTheLayoutByteForByte) {
  ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", "first text\r\n.\r\n"), 1);
  const std::string first = "first text\r\n.\r\n";
  const int32_t n1 = static_cast<int32_t>(first.size());
  EXPECT_EQ(Bytes(), Head(12 + n1, 64) + first + Row("rock/0c01a202", 12, n1));
  EXPECT_EQ(Bytes().size(), 12u + first.size() + 64u);

  // The second text lands where the first index was; the rows keep add order.
  ASSERT_EQ(DbAddEntry(db(), "jazz/11111111", "second"), 1);
  EXPECT_EQ(Bytes(), Head(12 + n1 + 6, 128) + first + "second" + Row("rock/0c01a202", 12, n1) +
                         Row("jazz/11111111", 12 + n1, 6));
  // A one-byte text makes every row move over itself.
  ASSERT_EQ(DbAddEntry(db(), "x/22222222", "z"), 1);
  EXPECT_EQ(Bytes(), Head(12 + n1 + 7, 192) + first + "secondz" + Row("rock/0c01a202", 12, n1) +
                         Row("jazz/11111111", 12 + n1, 6) + Row("x/22222222", 18 + n1, 1));
  EXPECT_TRUE(DbCheck(db()).empty());
  EXPECT_FALSE(std::filesystem::exists(db() + "-journal"));
}

TEST_F(DatabaseTest, AddRefusesKeysAndTextsThatCannotBeStoredAndFillsAnEmptyFile) {
  EXPECT_EQ(DbAddEntry(db(), "", "text"), 0);
  EXPECT_EQ(DbAddEntry(db(), "rock/1", ""), 0);
  EXPECT_EQ(DbAddEntry(db(), std::string(56, 'k'), "text"), 0);
  EXPECT_EQ(DbAddEntry(db(), std::string_view("ro\0ck", 5), "text"), 0);
  EXPECT_FALSE(std::filesystem::exists(db()));
  EXPECT_EQ(DbAddEntry(db(), std::string(55, 'k'), "text"), 1);
  EXPECT_EQ(Bytes().substr(16, 64), Row(std::string(55, 'k'), 12, 4));
  // An empty file becomes a database.
  Put("");
  ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", "abc"), 1);
  EXPECT_EQ(Bytes(), Head(15, 64) + "abc" + Row("rock/0c01a202", 12, 3));
}

TEST_F(DatabaseTest, LookupsMatchKeysContainingTheSearchText) {
  AddAll({{"misc/00000001", "one"},
          {"cached/0c01a202", "cached entry"},
          {"rock/0c01a202", "rock entry"},
          {"classical/deadbeef", "classical entry"}});
  EXPECT_EQ(DbFindEntry(db(), "0c01a202"), "cached entry");  // the first row in index order
  EXPECT_EQ(DbFindEntry(db(), "rock/0c01a202"), "rock entry");
  EXPECT_EQ(DbFindEntry(db(), "ck/0c01"), "rock entry");
  EXPECT_EQ(DbFindEntry(db(), "ssical"), "classical entry");
  EXPECT_EQ(DbFindEntry(db(), ""), "one");
  EXPECT_EQ(DbFindEntry(db(), std::string_view("rock\0zzz", 8)), "rock entry");
  EXPECT_EQ(DbFindEntry(db(), "rock/0c01a2020"), std::nullopt);
  EXPECT_EQ(DbFindEntry(db(), "ROCK"), std::nullopt);  // keys compare by bytes
  EXPECT_TRUE(DbHasEntry(db(), "beef"));
  EXPECT_FALSE(DbHasEntry(db(), "jazz"));
  EXPECT_FALSE(DbHasEntry(dir_.File("missing.zdb"), ""));
  EXPECT_EQ(DbFindEntry(dir_.File("missing.zdb"), ""), std::nullopt);
}

TEST_F(DatabaseTest, LookupsReachEveryRowOfABigIndex) {
  // Lookups read the index in blocks of thousands of rows: the rows at their
  // edges must be found like any other.
  constexpr int kRows = 9000;
  std::string texts;
  std::string rows;
  for (int i = 0; i < kRows; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "misc/%08x", i);
    const std::string text = "text " + std::to_string(i);
    rows += Row(key, static_cast<int32_t>(12 + texts.size()), static_cast<int32_t>(text.size()));
    texts += text;
  }
  Put(Head(static_cast<int32_t>(12 + texts.size()), static_cast<int32_t>(rows.size())) + texts +
      rows);
  for (const int i : {0, 4095, 4096, 4097, 8191, 8192, kRows - 1}) {
    char id[16];
    std::snprintf(id, sizeof id, "%08x", i);
    EXPECT_EQ(DbFindEntry(db(), id), "text " + std::to_string(i)) << i;
  }
  EXPECT_FALSE(DbHasEntry(db(), "misc/00002328"));  // 9000, one past the last
  ASSERT_TRUE(DbDeleteEntries(db(), "/00000ff"));   // rows 4080 to 4095
  EXPECT_EQ(DbFindEntry(db(), "/00000f"), "text 3840");
  EXPECT_EQ(DbFindEntry(db(), "/00000ff"), std::nullopt);
  EXPECT_EQ(DbFindEntry(db(), "00001000"), "text 4096");
  int count = 0;
  DbListEntries(db(), std::nullopt, count);
  EXPECT_EQ(count, kRows - 16);
}

TEST_F(DatabaseTest, DeleteRemovesEveryMatchAndLeavesACompactFile) {
  AddAll({{"rock/0c01a202", "AAAA"}, {"jazz/0c01a202", "BB"}, {"blues/33333333", "CCC"}});
  ASSERT_TRUE(DbDeleteEntries(db(), "rock/0c01a202"));
  EXPECT_EQ(WalkKeys(), (std::vector<std::string>{"jazz/0c01a202", "blues/33333333"}));
  EXPECT_EQ(Bytes(),
            Head(17, 128) + "BBCCC" + Row("jazz/0c01a202", 12, 2) + Row("blues/33333333", 14, 3));

  AddAll({{"rock/0c01a202", "DDDD"}});
  ASSERT_TRUE(DbDeleteEntries(db(), "0c01a202"));  // every category
  EXPECT_EQ(Bytes(), Head(15, 64) + "CCC" + Row("blues/33333333", 12, 3));

  const std::string before = Bytes();
  EXPECT_FALSE(DbDeleteEntries(db(), "0c01a202"));
  EXPECT_EQ(Bytes(), before);
  ASSERT_TRUE(DbDeleteEntries(db(), "blues"));
  EXPECT_EQ(Bytes(), Head(12, 0));
  EXPECT_FALSE(DbDeleteEntries(dir_.File("missing.zdb"), ""));
}

TEST_F(DatabaseTest, DeletePadsKeptKeysAndMovesTheirTexts) {
  // A key field with bytes after its zero, and texts out of row order.
  Put(Head(19, 128) + "BBBAAAA" + Row("rock/1", 15, 4).replace(10, 3, "xyz") +
      Row("jazz/2", 12, 3));
  ASSERT_EQ(DbAddEntry(db(), "misc/3", "C"), 1);
  EXPECT_EQ(Bytes().substr(20, 64), Row("rock/1", 15, 4).replace(10, 3, "xyz"));
  EXPECT_FALSE(DbHasEntry(db(), "xyz"));  // bytes after a key's zero are no part of it
  ASSERT_TRUE(DbDeleteEntries(db(), "jazz"));
  EXPECT_EQ(Bytes(), Head(17, 128) + "AAAAC" + Row("rock/1", 12, 4) + Row("misc/3", 16, 1));
}

TEST_F(DatabaseTest, ListRunsFromTheLastRowAndFiltersCategoriesIgnoringCase) {
  AddAll(
      {{"rock/00000001", "a"}, {"noslash", "b"}, {"jazz/00000002", "c"}, {"Rock / 00000003", "d"}});
  int count = 0;
  auto items = DbListEntries(db(), std::nullopt, count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(items, (std::vector<DbListItem>{
                       {"00000003", "Rock"}, {"00000002", "jazz"}, {"00000001", "rock"}}));
  items = DbListEntries(db(), "ROCK", count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(items, (std::vector<DbListItem>{{"00000003", "Rock"}, {"00000001", "rock"}}));
  items = DbListEntries(dir_.File("missing.zdb"), std::nullopt, count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(items.empty());
}

TEST_F(DatabaseTest, WalkVisitsInIndexOrderAndStopsWhenAsked) {
  AddAll({{"rock/00000001", "one"}, {"jazz/00000002", "two"}, {"misc/00000003", "three"}});
  std::string seen;
  EXPECT_EQ(DbWalkEntries(db(),
                          [&](std::string_view key, std::string_view text) {
                            seen.append(key).append("=").append(text).append(";");
                            return true;
                          }),
            DbWalkResult::kDone);
  EXPECT_EQ(seen, "rock/00000001=one;jazz/00000002=two;misc/00000003=three;");
  int visits = 0;
  EXPECT_EQ(DbWalkEntries(db(), [&](std::string_view, std::string_view) { return ++visits < 2; }),
            DbWalkResult::kStopped);
  EXPECT_EQ(visits, 2);
  EXPECT_EQ(DbWalkEntries(dir_.File("missing.zdb"), [](auto, auto) { return true; }),
            DbWalkResult::kMissing);
}

TEST_F(DatabaseTest, FilesThatAreNotDatabasesAreReadAsEmptyAndNeverWritten) {
  const std::string junk = "JUNK" + Le32(12) + Le32(0) + "user's precious bytes";
  Put(junk);
  EXPECT_EQ(DbAddEntry(db(), "rock/00000001", "text"), -1);
  EXPECT_FALSE(DbDeleteEntries(db(), ""));
  std::string error;
  EXPECT_EQ(DbSession::Open(db(), &error), nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Bytes(), junk);

  EXPECT_EQ(DbFindEntry(db(), ""), std::nullopt);
  EXPECT_FALSE(DbHasEntry(db(), ""));
  int count = 7;
  EXPECT_TRUE(DbListEntries(db(), std::nullopt, count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_EQ(DbWalkEntries(db(), [](auto, auto) { return true; }), DbWalkResult::kNotADatabase);
  EXPECT_EQ(DbCheck(db()), std::vector<std::string>{"The file does not start with \"PACK\"."});
  Put("PAC");
  EXPECT_EQ(DbAddEntry(db(), "rock/00000001", "text"), -1);
  EXPECT_EQ(Bytes(), "PAC");
}

// A sound three-entry file, then one kind of damage each.
struct Damage {
  const char* name;
  std::string bytes;
  int listed;         // count from DbListEntries
  size_t items;       // items it still returns
  bool add_refused;   // add returns -1 and leaves the file
  const char* check;  // a word DbCheck's report must contain
};

std::vector<Damage> Damages() {
  const std::string texts = "AAAABBBBBBCC";  // rows at 12 (4), 16 (6), 22 (2)
  const std::string r1 = Row("rock/00000001", 12, 4);
  const std::string r2 = Row("jazz/00000002", 16, 6);
  const std::string r3 = Row("misc/00000003", 22, 2);
  const std::string rows = r1 + r2 + r3;
  std::string unterminated = r2;
  unterminated.replace(0, 56, std::string(56, 'k'));
  return {
      {"offset beyond the index", Head(24, 192) + texts + r1 + Row("jazz/2", 5000, 6) + r3, -1, 1,
       false, "outside"},
      {"negative offset", Head(24, 192) + texts + r1 + Row("jazz/2", -8, 6) + r3, -1, 1, false,
       "outside"},
      {"offset inside the head", Head(24, 192) + texts + r1 + Row("jazz/2", 4, 6) + r3, -1, 1,
       false, "outside"},
      {"negative length", Head(24, 192) + texts + r1 + Row("jazz/2", 16, -1) + r3, -1, 1, false,
       "negative"},
      {"huge length", Head(24, 192) + texts + r1 + Row("jazz/2", 16, 0x7fffffff) + r3, -1, 1, false,
       "outside"},
      {"key without zero", Head(24, 192) + texts + r1 + unterminated + r3, -1, 1, false,
       "terminating"},
      {"overlapping texts", Head(24, 192) + texts + r1 + Row("jazz/2", 14, 6) + r3, 3, 3, false,
       "share"},
      {"index size not a multiple of 64", Head(24, 190) + texts + rows.substr(0, 190), -1, 2, true,
       "multiple"},
      {"index offset beyond the file", Head(9000, 192) + texts + rows, -1, 0, true, "outside"},
      {"index offset inside the head", Head(3, 192) + texts + rows, -1, 0, true, "outside"},
      {"index cut short", Head(24, 192) + texts + rows.substr(0, 100), -1, 1, true, "beyond"},
      {"huge index size", Head(24, 0x7fffffc0) + texts + rows, -1, 3, true, "beyond"},
      {"negative index size", Head(24, -64) + texts + rows, -1, 0, true, "negative"},
      {"bytes after the index", Head(24, 192) + texts + rows + "tail", 3, 3, true, "follow"},
  };
}

TEST_F(DatabaseTest, DamagedFilesAreReportedNeverOverrun) {
  for (const Damage& damage : Damages()) {
    SCOPED_TRACE(damage.name);
    Put(damage.bytes);
    const auto problems = DbCheck(db());
    ASSERT_FALSE(problems.empty());
    std::string report;
    for (const auto& p : problems)
      report += p + "\n";
    EXPECT_NE(report.find(damage.check), std::string::npos) << report;

    int count = 0;
    const auto items = DbListEntries(db(), std::nullopt, count);
    EXPECT_EQ(count, damage.listed);
    ASSERT_EQ(items.size(), damage.items);
    if (!items.empty()) {
      EXPECT_EQ(items.back().disc_id, "00000001");  // most recent first, from the first row
    }
    // The sound first row stays readable wherever its index can be found.
    EXPECT_EQ(DbFindEntry(db(), "rock"),
              damage.items > 0 ? std::optional<std::string>("AAAA") : std::nullopt);
    std::vector<std::string> texts;
    const DbWalkResult walked = DbWalkEntries(db(), [&](std::string_view, std::string_view text) {
      texts.emplace_back(text);
      return true;
    });
    EXPECT_EQ(walked == DbWalkResult::kDamaged, damage.listed == -1);
    for (const auto& text : texts)
      EXPECT_NE(std::string("AAAABBBBBBCC").find(text), std::string::npos);

    EXPECT_EQ(DbAddEntry(db(), "blues/00000004", "D") == -1, damage.add_refused);
    if (damage.add_refused) {
      EXPECT_EQ(Bytes(), damage.bytes);
    }
  }
}

TEST_F(DatabaseTest, FindPassesOverADamagedMatchAndDeleteDropsIt) {
  Put(Head(16, 128) + "AAAA" + Row("rock/00000001", 9000, 4) + Row("jazz/00000001", 12, 4));
  EXPECT_EQ(DbFindEntry(db(), "00000001"), "AAAA");
  EXPECT_TRUE(DbHasEntry(db(), "rock"));
  // A damaged row that is kept blocks the delete; one that goes does not.
  EXPECT_FALSE(DbDeleteEntries(db(), "jazz"));
  ASSERT_TRUE(DbDeleteEntries(db(), "rock"));
  EXPECT_EQ(Bytes(), Head(16, 64) + "AAAA" + Row("jazz/00000001", 12, 4));
  EXPECT_TRUE(DbCheck(db()).empty());
}

}  // namespace
}  // namespace zcd
