#include "discdb/library_index.h"

#include <gtest/gtest.h>

#include "discdb/database.h"
#include "discdb/db_bytes.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using Shown = std::vector<std::pair<std::string, std::vector<std::string>>>;

Shown TextsOf(const std::vector<LibraryGroup>& groups) {
  Shown shown;
  for (const LibraryGroup& group : groups) {
    shown.push_back({group.name, {}});
    for (const LibraryDisc& disc : group.discs)
      shown.back().second.push_back(disc.text);
  }
  return shown;
}

class LibraryIndexTest : public ::testing::Test {
 protected:
  void Add(const std::string& key, const std::string& title) {
    ASSERT_EQ(DbAddEntry(db_, key, "DISCID=x\r\nDTITLE=" + title + "\r\n.\r\n"), 1);
  }
  LibraryIndex Build(LibraryGrouping grouping) { return BuildLibraryIndex(db_, grouping, stop_); }

  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
  std::atomic<bool> stop_{false};
};

TEST_F(LibraryIndexTest, GroupsByCategoryOrArtistSortedAndMatchedIgnoringCase) {
  Add("rock/00000001", "Zed / Last");
  Add("jazz/00000002", "Mingus / Blues");
  Add("Rock/00000003", "abba / First");
  Add("misc/00000002", "Stored later / Never shown");  // the same disc again
  Add("misc/00000004", "Greatest");
  Add("rock/00000005", "");  // no title, no item
  const LibraryIndex by_category = Build(LibraryGrouping::kByCategory);
  EXPECT_EQ(by_category.entry_count, 6);
  // A disc under two categories shows its first entry's title in both;
  // "rock" and "Rock" are one group named as most recently added.
  EXPECT_EQ(TextsOf(by_category.groups), (Shown{{"jazz", {"Mingus / Blues"}},
                                                {"misc", {"Greatest", "Mingus / Blues"}},
                                                {"Rock", {"abba / First", "Zed / Last"}}}));
  // By artist: the album under its artist; no artist, no group name.
  EXPECT_EQ(TextsOf(Build(LibraryGrouping::kByArtist).groups),
            (Shown{{"", {"Greatest"}},
                   {"abba", {"First"}},
                   {"Mingus", {"Blues", "Blues"}},
                   {"Zed", {"Last"}}}));
}

TEST_F(LibraryIndexTest, TheFilterIgnoresCaseAndAccentsAndFindsIdentifiers) {
  const std::string accented =
      "Bj\xF6rk / Caf\xE9 Stra\xDF"
      "e";
  Add("rock/0c01a202", accented);
  Add("jazz/00000002", "Mingus / Blues");
  const LibraryIndex index = Build(LibraryGrouping::kByCategory);
  const Shown rock{{"rock", {accented}}};
  const std::pair<const char*, Shown> cases[] = {
      {"", {{"jazz", {"Mingus / Blues"}}, {"rock", {accented}}}},
      {"BJORK", rock},
      {"caf\xC9", rock},
      {"strasse", rock},
      {"0C01", rock},
      {"blues", {{"jazz", {"Mingus / Blues"}}}},
      {"nothing", {}}};
  for (const auto& [typed, shown] : cases)
    EXPECT_EQ(TextsOf(FilterLibrary(index, typed)), shown) << typed;
}

TEST_F(LibraryIndexTest, ADamagedFileShowsNothing) {
  dir_.Write("ZCD.zdb", test::Head(12, 64) + test::Row("rock/00000001", 9999, 5));
  const LibraryIndex index = Build(LibraryGrouping::kByCategory);
  EXPECT_TRUE(index.damaged);
  EXPECT_EQ(index.entry_count, 0);
  EXPECT_TRUE(index.groups.empty());
}

}  // namespace
}  // namespace zcd
