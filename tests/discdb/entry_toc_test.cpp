#include <gtest/gtest.h>

#include "discdb/disc_id.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

DiscTiming TimingFromFrames(std::initializer_list<int32_t> starts, int32_t disc_seconds) {
  DiscTiming timing;
  for (int32_t f : starts)
    timing.toc[timing.track_count++] = TrackTocEntry::FromFrames(f);
  timing.toc[timing.track_count] = TrackTocEntry::FromFrames(disc_seconds * 75);
  timing.disc_seconds = disc_seconds;
  return timing;
}

TEST(ReadTocTest, RowsLengthsAndLeadOutFromTheCommentBlock) {
  const std::string text =
      "200 rock 0c01a202\r\n"
      "# xmcd\r\n"
      "#\r\n"
      "# Track frame offsets:\r\n"
      "#\t150\r\n"
      "# \t 14250\n"
      "#       20012\r\n"
      "#\r\n"
      "# Disc length: 421 seconds\r\n"
      "DTITLE=x\r\n";
  DiscRecord record;
  ASSERT_TRUE(ReadTocFromEntry(record, text));
  const DiscTiming timing = record.Timing();
  ASSERT_EQ(timing.track_count, 3);
  EXPECT_EQ(timing.toc[0], TrackTocEntry::FromMsf(0, 2, 0));
  EXPECT_EQ(timing.toc[1], TrackTocEntry::FromMsf(3, 10, 0));
  EXPECT_EQ(timing.toc[2], TrackTocEntry::FromMsf(4, 26, 62));
  // The lead-out has whole seconds only.
  EXPECT_EQ(timing.toc[3], TrackTocEntry::FromMsf(7, 1, 0));
  EXPECT_EQ(timing.disc_seconds, 421);
  EXPECT_EQ(timing.track_seconds[0], 188);
  EXPECT_EQ(timing.track_seconds[1], 76);
  EXPECT_EQ(timing.track_seconds[2], 155);
  EXPECT_EQ(timing.track_seconds[3], -1);
}

TEST(ReadTocTest, WithoutOffsetsTheRecordIsLeftAlone) {
  DiscRecord record;
  record.SetTiming(TimingFromFrames({150}, 100));
  // A line not starting with "#" ends the walk before any offsets.
  EXPECT_TRUE(
      ReadTocFromEntry(record, "200 rock x\r\nDTITLE=y\r\n# Track frame offsets:\r\n#\t1\r\n"));
  EXPECT_TRUE(ReadTocFromEntry(record, "# Track frame offsets:\r\n#\t1\r\n"));
  EXPECT_TRUE(ReadTocFromEntry(record, "200 rock x\r\n#\r\n#"));
  EXPECT_EQ(record.TrackCount(), 1);
  EXPECT_EQ(record.DiscSeconds(), 100);
  EXPECT_FALSE(ReadTocFromEntry(record, ""));
  EXPECT_EQ(record.TrackCount(), 1);
}

TEST(ReadTocTest, MalformedOffsetsStayInBounds) {
  // Numbers that end the list early, huge numbers and more rows than fit.
  DiscRecord record;
  ASSERT_TRUE(ReadTocFromEntry(
      record, "h\n# Track frame offsets:\n#\t150\n#x 7\n#\t300\n# Disc length: 9\n"));
  EXPECT_EQ(record.TrackCount(), 1);

  ASSERT_TRUE(ReadTocFromEntry(record,
                               "h\n# Track frame offsets:\n#99999999999\n"
                               "# Disc length: 99999999999 seconds\n"));
  EXPECT_EQ(record.TrackCount(), 1);
  EXPECT_EQ(record.Timing().toc[0].frame_address, 2147483647);
  EXPECT_EQ(record.Timing().LeadOut().frame_address, 2147483647 / 75 * 75);

  std::string many = "h\r\n# Track frame offsets:\r\n";
  for (int i = 1; i <= 150; ++i)
    many += "#\t" + std::to_string(i * 1000) + "\r\n";
  many += "#\r\n# Disc length: 3000 seconds\r\n";
  ASSERT_TRUE(ReadTocFromEntry(record, many));
  EXPECT_EQ(record.TrackCount(), kMaxTracks);
  EXPECT_EQ(record.Timing().toc[99].frame_address, 100000);
  EXPECT_EQ(record.Timing().LeadOut().frame_address, 3000 * 75);
}

TEST(EntryIniKeyTest, MatchesTheKeyOfTheTimingItWasBuiltFrom) {
  for (const DiscTiming& timing :
       {TimingFromFrames({150, 14250, 22500}, 500), TimingFromFrames({182, 14250}, 421),
        TimingFromFrames({33}, 61)}) {
    DiscRecord record;
    record.SetTiming(timing);
    const std::string text = BuildNewEntryText(record, false);
    EXPECT_EQ(EntryCdPlayerIniKey(text), CdPlayerIniKey(timing));
  }
  // With fewer than three tracks the disc length counts.
  DiscRecord record;
  record.SetTiming(TimingFromFrames({182, 14250}, 421));
  const std::string text = BuildNewEntryText(record, false);
  std::string longer = text;
  longer.replace(longer.find("421 seconds"), 3, "422");
  EXPECT_NE(EntryCdPlayerIniKey(longer), EntryCdPlayerIniKey(text));
}

TEST(EntryIniKeyTest, EmptyTextHasNoKey) {
  EXPECT_FALSE(EntryCdPlayerIniKey(""));
  // No offsets: only the disc length counts.
  EXPECT_EQ(EntryCdPlayerIniKey("x\r\n# Disc length: 2 seconds\r\n"), "96");
}

}  // namespace
}  // namespace zcd
