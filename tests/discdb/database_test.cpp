#include "discdb/database.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
  std::string Walk() const {
    std::string seen;
    DbWalkEntries(db(), [&](std::string_view key, std::string_view text) {
      seen.append(key).append("=").append(text).append(";");
      return true;
    });
    return seen;
  }
  std::string missing() const { return dir_.File("missing.zdb"); }

  test::TempDir dir_;
};

TEST_F(DatabaseTest, AddsWriteTheLayoutByteForByteAndRefuseWhatCannotBeStored) {
  for (const auto& [key, text] : {std::pair<std::string_view, std::string_view>{"", "text"},
                                  {"rock/1", ""},
                                  {std::string_view("ro\0ck", 5), "text"}})
    EXPECT_EQ(DbAddEntry(db(), key, text), 0);
  EXPECT_EQ(DbAddEntry(db(), std::string(56, 'k'), "text"), 0);
  EXPECT_FALSE(std::filesystem::exists(db()));

  const std::string first = "first text\r\n.\r\n";
  const auto n1 = static_cast<int32_t>(first.size());
  ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", first), 1);
  EXPECT_EQ(Bytes(), Head(12 + n1, 64) + first + Row("rock/0c01a202", 12, n1));
  // The second text lands where the first index was; the rows keep add order.
  ASSERT_EQ(DbAddEntry(db(), "jazz/11111111", "second"), 1);
  EXPECT_EQ(Bytes(), Head(12 + n1 + 6, 128) + first + "second" + Row("rock/0c01a202", 12, n1) +
                         Row("jazz/11111111", 12 + n1, 6));
  // A one-byte text makes every row move over itself; a key may fill 55 bytes.
  ASSERT_EQ(DbAddEntry(db(), std::string(55, 'k'), "z"), 1);
  EXPECT_EQ(Bytes(), Head(12 + n1 + 7, 192) + first + "secondz" + Row("rock/0c01a202", 12, n1) +
                         Row("jazz/11111111", 12 + n1, 6) + Row(std::string(55, 'k'), 18 + n1, 1));
  EXPECT_TRUE(DbCheck(db()).empty());
  EXPECT_FALSE(std::filesystem::exists(db() + "-journal"));
  // An empty file becomes a database.
  Put("");
  ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", "abc"), 1);
  EXPECT_EQ(Bytes(), Head(15, 64) + "abc" + Row("rock/0c01a202", 12, 3));
}

// Readers make no lock file, so until a writer has replaced the file once, a
// reader of another process may hold it open unguarded: nothing may change it
// in place before then.
TEST_F(DatabaseTest, ReadsMakeNoFilesAndAFileWithoutLockIsReplacedBeforeChangesInPlace) {
  AddAll({{"rock/1", "one"}});
  std::filesystem::remove(db() + "-lock");
  EXPECT_EQ(DbFindEntry(db(), "rock"), "one");
  EXPECT_TRUE(DbCheck(db()).empty());
  EXPECT_FALSE(DbHasEntry(missing(), "rock"));
  EXPECT_EQ(std::filesystem::directory_iterator(dir_.path())->path(), db());
  EXPECT_EQ(std::next(std::filesystem::directory_iterator(dir_.path())),
            std::filesystem::directory_iterator());

  const auto inode = [&] {
    struct stat st {};
    stat(db().c_str(), &st);
    return st.st_ino;
  };
  const auto before = inode();
  AddAll({{"jazz/2", "two"}});
  const auto replaced = inode();
  EXPECT_NE(replaced, before);
  AddAll({{"blues/3", "three"}});
  EXPECT_EQ(inode(), replaced);
  // The same bytes either way.
  EXPECT_EQ(Bytes(), Head(12 + 11, 192) + "onetwothree" + Row("rock/1", 12, 3) +
                         Row("jazz/2", 15, 3) + Row("blues/3", 18, 5));
}

TEST_F(DatabaseTest, LookupsMatchKeysContainingTheSearchText) {
  AddAll({{"misc/00000001", "one"},
          {"cached/0c01a202", "cached entry"},
          {"rock/0c01a202", "rock entry"},
          {"classical/deadbeef", "classical entry"}});
  const std::pair<std::string_view, std::optional<std::string>> cases[] = {
      {"0c01a202", "cached entry"},  // the first row in index order
      {"rock/0c01a202", "rock entry"},
      {"ck/0c01", "rock entry"},
      {"ssical", "classical entry"},
      {"", "one"},
      {std::string_view("rock\0zzz", 8), "rock entry"},
      {"rock/0c01a2020", std::nullopt},
      {"ROCK", std::nullopt}};  // keys compare by bytes
  for (const auto& [search, text] : cases) {
    EXPECT_EQ(DbFindEntry(db(), search), text) << search;
    EXPECT_EQ(DbHasEntry(db(), search), text.has_value()) << search;
  }
  EXPECT_FALSE(DbHasEntry(missing(), ""));
  EXPECT_EQ(DbFindEntry(missing(), ""), std::nullopt);
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
  EXPECT_FALSE(DbDeleteEntries(missing(), ""));

  // A key field with bytes after its zero, and texts out of row order.
  Put(Head(19, 128) + "BBBAAAA" + Row("rock/1", 15, 4).replace(10, 3, "xyz") +
      Row("jazz/2", 12, 3));
  ASSERT_EQ(DbAddEntry(db(), "misc/3", "C"), 1);
  EXPECT_EQ(Bytes().substr(20, 64), Row("rock/1", 15, 4).replace(10, 3, "xyz"));
  EXPECT_FALSE(DbHasEntry(db(), "xyz"));  // bytes after a key's zero are no part of it
  ASSERT_TRUE(DbDeleteEntries(db(), "jazz"));
  EXPECT_EQ(Bytes(), Head(17, 128) + "AAAAC" + Row("rock/1", 12, 4) + Row("misc/3", 16, 1));
}

// A user's own category may end like another's: deleting "rock/X" must not
// take "punkrock/X" with it, while a bare identifier still takes the disc
// under every category.
TEST_F(DatabaseTest, DeletingAFullKeyTakesThatKeyAlone) {
  AddAll({{"punkrock/0c01a202", "P"}, {"rock/0c01a202", "R"}, {"cached/0c01a202", "C"}});
  EXPECT_EQ(DbSession::Open(db(), nullptr)->Find("rock/0c01a202"), "R") << "what a replace reads";
  ASSERT_TRUE(DbDeleteEntries(db(), "rock/0c01a202"));
  int count = 0;
  EXPECT_EQ(DbListEntries(db(), std::nullopt, count),
            (std::vector<DbListItem>{{"0c01a202", "cached"}, {"0c01a202", "punkrock"}}));
  EXPECT_FALSE(DbDeleteEntries(db(), "rock/0c01a202"));
  ASSERT_TRUE(DbDeleteEntries(db(), "0c01a202"));
  EXPECT_EQ(DbListEntries(db(), std::nullopt, count), std::vector<DbListItem>{});
}

TEST_F(DatabaseTest, ListRunsFromTheLastRowAndWalkInIndexOrder) {
  AddAll(
      {{"rock/00000001", "a"}, {"noslash", "b"}, {"jazz/00000002", "c"}, {"Rock / 00000003", "d"}});
  int count = 0;
  EXPECT_EQ(
      DbListEntries(db(), std::nullopt, count),
      (std::vector<DbListItem>{{"00000003", "Rock"}, {"00000002", "jazz"}, {"00000001", "rock"}}));
  EXPECT_EQ(count, 3);
  // Categories filter ignoring case.
  EXPECT_EQ(DbListEntries(db(), "ROCK", count),
            (std::vector<DbListItem>{{"00000003", "Rock"}, {"00000001", "rock"}}));
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(DbListEntries(missing(), std::nullopt, count).empty());
  EXPECT_EQ(count, 0);

  EXPECT_EQ(Walk(), "rock/00000001=a;noslash=b;jazz/00000002=c;Rock / 00000003=d;");
  int visits = 0;
  EXPECT_EQ(DbWalkEntries(db(), [&](std::string_view, std::string_view) { return ++visits < 2; }),
            DbWalkResult::kStopped);
  EXPECT_EQ(visits, 2);
  EXPECT_EQ(DbWalkEntries(missing(), [](auto, auto) { return true; }), DbWalkResult::kMissing);
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

TEST_F(DatabaseTest, DamagedFilesAreReportedNeverOverrun) {
  // A sound three-entry file, then one kind of damage each.
  const std::string texts = "AAAABBBBBBCC";  // rows at 12 (4), 16 (6), 22 (2)
  const std::string r1 = Row("rock/00000001", 12, 4);
  const std::string r3 = Row("misc/00000003", 22, 2);
  const std::string rows = r1 + Row("jazz/00000002", 16, 6) + r3;
  const auto second = [&](const std::string& row) { return Head(24, 192) + texts + r1 + row + r3; };
  const struct {
    const char* name;
    std::string bytes;
    int listed;         // count from DbListEntries
    size_t items;       // items it still returns
    bool add_refused;   // add returns -1 and leaves the file
    const char* check;  // a word DbCheck's report must contain
  } damages[] = {
      {"offset beyond the index", second(Row("jazz/2", 5000, 6)), -1, 1, false, "outside"},
      {"negative offset", second(Row("jazz/2", -8, 6)), -1, 1, false, "outside"},
      {"offset inside the head", second(Row("jazz/2", 4, 6)), -1, 1, false, "outside"},
      {"negative length", second(Row("jazz/2", 16, -1)), -1, 1, false, "negative"},
      {"huge length", second(Row("jazz/2", 16, 0x7fffffff)), -1, 1, false, "outside"},
      {"key without zero", second(std::string(56, 'k') + Le32(16) + Le32(6)), -1, 1, false,
       "terminating"},
      {"overlapping texts", second(Row("jazz/2", 14, 6)), 3, 3, false, "share"},
      {"index size not a multiple of 64", Head(24, 190) + texts + rows.substr(0, 190), -1, 2, true,
       "multiple"},
      {"index offset beyond the file", Head(9000, 192) + texts + rows, -1, 0, true, "outside"},
      {"index offset inside the head", Head(3, 192) + texts + rows, -1, 0, true, "outside"},
      {"index cut short", Head(24, 192) + texts + rows.substr(0, 100), -1, 1, true, "beyond"},
      {"huge index size", Head(24, 0x7fffffc0) + texts + rows, -1, 3, true, "beyond"},
      {"negative index size", Head(24, -64) + texts + rows, -1, 0, true, "negative"},
      {"bytes after the index", Head(24, 192) + texts + rows + "tail", 3, 3, true, "follow"},
  };
  for (const auto& damage : damages) {
    SCOPED_TRACE(damage.name);
    Put(damage.bytes);
    std::string report;
    for (const auto& problem : DbCheck(db()))
      report += problem + "\n";
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
    bool inside = true;
    const DbWalkResult walked = DbWalkEntries(db(), [&](std::string_view, std::string_view text) {
      inside &= texts.find(text) != std::string::npos;
      return true;
    });
    EXPECT_TRUE(inside);
    EXPECT_EQ(walked == DbWalkResult::kDamaged, damage.listed == -1);

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
