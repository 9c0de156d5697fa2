#include "discdb/disc_record.h"

#include <gtest/gtest.h>

#include <thread>

#include "discdb/slash_split.h"

namespace zcd {
namespace {

void SetTrackCount(DiscRecord& record, int count) {
  DiscTiming timing;
  timing.track_count = count;
  for (int i = 0; i < count; ++i)
    timing.track_seconds[i] = 100 + i;
  record.SetTiming(timing);
}

TEST(DiscRecordTest, TextsStayInsideTheDiscAndNoneIsDistinctFromEmpty) {
  DiscRecord record;
  EXPECT_FALSE(record.DiscTitle());
  EXPECT_EQ(record.TrackSeconds(0), -1);
  record.SetDiscExtended(std::string());
  EXPECT_EQ(record.DiscExtended(), OptText(""));
  record.SetDiscExtended(std::nullopt);
  EXPECT_FALSE(record.DiscExtended().has_value());

  SetTrackCount(record, 3);
  EXPECT_FALSE(record.SetTrackTitle(5, "Five"));
  EXPECT_FALSE(record.TrackTitle(5));
  EXPECT_FALSE(record.SetTrackTitle(-1, "Minus"));
  EXPECT_FALSE(record.SetTrackExtended(3, "Past the end"));
  EXPECT_EQ(record.TrackSeconds(99), -1);
  EXPECT_TRUE(record.SetTrackTitle(2, "Three"));
  EXPECT_EQ(record.TrackTitle(2), "Three");
}

TEST(DiscRecordTest, DefaultTextKeepsCategoryShrinkingDropsTextsClearAndResetForgetThem) {
  DiscRecord record;
  SetTrackCount(record, 12);
  record.SetCategory("rock");
  record.SetDiscExtended("liner notes");
  record.SetDefaultDiscText();
  EXPECT_EQ(record.DiscTitle(), "Unknown CD");
  EXPECT_EQ(record.TrackTitle(0), "Track 1");
  EXPECT_EQ(record.TrackTitle(11), "Track 12");
  EXPECT_FALSE(record.TrackTitle(12));
  EXPECT_EQ(record.Category(), "rock");
  EXPECT_EQ(record.DiscExtended(), "liner notes");

  SetTrackCount(record, 2);
  SetTrackCount(record, 12);
  EXPECT_EQ(record.TrackTitle(1), "Track 2");
  EXPECT_FALSE(record.TrackTitle(4));

  // Clearing keeps the timing, resetting forgets it.
  SetTrackCount(record, 4);
  record.SetDefaultDiscText();
  record.SetDiscIdText("0c01a202");
  record.SetTrackExtended(1, "x");
  record.ClearDiscText();
  EXPECT_FALSE(record.DiscTitle());
  EXPECT_FALSE(record.DiscIdText());
  EXPECT_FALSE(record.TrackTitle(0));
  EXPECT_FALSE(record.TrackExtended(1));
  EXPECT_EQ(record.TrackCount(), 4);
  EXPECT_EQ(record.TrackSeconds(3), 103);

  record.SetDefaultDiscText();
  record.SetCategory("rock");
  record.ResetDisc();
  EXPECT_FALSE(record.DiscTitle());
  EXPECT_FALSE(record.Category());
  EXPECT_EQ(record.TrackCount(), 0);
  EXPECT_EQ(record.TrackSeconds(3), -1);
  // A later disc with more tracks must not see the old titles again.
  SetTrackCount(record, 4);
  EXPECT_FALSE(record.TrackTitle(0));
}

TEST(DiscRecordTest, ReadersAlwaysSeeAWholeTitle) {
  // The window thread reads while a query thread replaces the title; every
  // read must be one of the titles written, never a torn or freed one.
  DiscRecord record;
  const std::string a(200, 'a');
  const std::string b(300, 'b');
  record.SetDiscTitle(a);
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i)
      record.SetDiscTitle(i % 2 ? a : b);
  });
  int bad = 0;
  for (int i = 0; i < 20000; ++i) {
    const auto title = record.DiscTitle();
    bad += !title || (*title != a && *title != b);
  }
  writer.join();
  EXPECT_EQ(bad, 0);
}

TEST(SlashSplitTest, TheFirstSlashCountsAndBlankEdgesGo) {
  const std::tuple<const char*, std::optional<std::string>, std::string> cases[] = {
      {"Artist / Album", "Artist", "Album"},
      {"AC/DC / Back", "AC", "DC / Back"},
      {"rock/0c01a202", "rock", "0c01a202"},
      {"Album only", std::nullopt, "Album only"},
      {"   / x", " ", "x"},
      {"/x", "", "x"},
      {"x /   ", "x", ""}};
  for (const auto& [text, before, after] : cases) {
    EXPECT_EQ(SplitBeforeSlash(text), before) << text;
    EXPECT_EQ(SplitAfterSlash(text), after) << text;
  }
}

}  // namespace
}  // namespace zcd
