#include <gtest/gtest.h>

#include <random>

#include "discdb/entry_text.h"

namespace zcd {
namespace {

DiscTiming ThreeTrackTiming() {
  DiscTiming timing;
  timing.track_count = 3;
  timing.toc[0] = TrackTocEntry::FromMsf(0, 2, 0);
  timing.toc[1] = TrackTocEntry::FromMsf(3, 10, 0);
  timing.toc[2] = TrackTocEntry::FromMsf(5, 0, 0);
  timing.toc[3] = TrackTocEntry::FromMsf(7, 0, 0);
  timing.disc_seconds = 420;
  return timing;
}

const char kEntry[] =
    "200 jazz 12345678\r\n"
    "# Revision: 2\r\n"
    "DISCID=12345678\r\n"
    "DTITLE=Artist / Album\r\n"
    "TTITLE0=Zero\r\n"
    "TTITLE1=One\r\n"
    "TTITLE2=Two, part\r\n"
    "TTITLE2= two\r\n"
    "TTITLE3=Three\r\n"
    "EXTD=Notes\\nmore\r\n"
    "EXTT1=About one\r\n"
    ".\r\n";

TEST(ReadEntryTest, BoundRecordKeepsItsTrackCountAndIdentifier) {
  DiscRecord record;
  record.SetTiming(ThreeTrackTiming());
  record.SetDefaultDiscText();
  record.SetTrackExtended(0, "stale");
  ASSERT_TRUE(ReadEntryIntoRecord(record, kEntry, true));
  EXPECT_EQ(record.TrackCount(), 3);
  EXPECT_EQ(record.Category(), "jazz");
  EXPECT_EQ(record.DiscTitle(), "Artist / Album");
  EXPECT_EQ(record.DiscExtended(), "Notes\\nmore");
  EXPECT_EQ(record.TrackTitle(0), "Zero");
  EXPECT_EQ(record.TrackTitle(2), "Two, part two");
  EXPECT_FALSE(record.TrackTitle(3));
  EXPECT_FALSE(record.TrackExtended(0));
  EXPECT_EQ(record.TrackExtended(1), "About one");
  // From the record's table of contents, not from the entry's DISCID.
  EXPECT_EQ(record.DiscIdText(), "0f01a203");
}

TEST(ReadEntryTest, FreeStandingRecordCountsTitlesUpToTheFirstGap) {
  DiscRecord record;
  ASSERT_TRUE(ReadEntryIntoRecord(record, kEntry, false));
  EXPECT_EQ(record.TrackCount(), 4);
  EXPECT_EQ(record.TrackTitle(3), "Three");
  EXPECT_EQ(record.DiscIdText(), "00000000");

  const std::string gap = "100 rock\r\nTTITLE0=a\r\nTTITLE1=b\r\nTTITLE3=d\r\n";
  ASSERT_TRUE(ReadEntryIntoRecord(record, gap, false));
  EXPECT_EQ(record.TrackCount(), 2);
  EXPECT_FALSE(record.TrackTitle(2));
  EXPECT_FALSE(record.DiscTitle());
  EXPECT_FALSE(record.Category());
}

TEST(ReadEntryTest, FreeStandingRecordKeepsTheTimingItWasGiven) {
  DiscRecord record;
  record.SetTiming(ThreeTrackTiming());
  ASSERT_TRUE(ReadEntryIntoRecord(record, kEntry, false));
  EXPECT_EQ(record.TrackCount(), 4);
  EXPECT_EQ(record.DiscIdText(), "0f01a203");
  const DiscTiming timing = record.Timing();
  EXPECT_EQ(timing.toc[1], TrackTocEntry::FromMsf(3, 10, 0));
  EXPECT_EQ(timing.disc_seconds, 420);
}

TEST(ReadEntryTest, EmptyTextChangesNothing) {
  DiscRecord record;
  record.SetTiming(ThreeTrackTiming());
  record.SetDefaultDiscText();
  EXPECT_FALSE(ReadEntryIntoRecord(record, "", true));
  EXPECT_FALSE(ReadEntryIntoRecord(record, "", false));
  EXPECT_EQ(record.DiscTitle(), "Unknown CD");
  EXPECT_EQ(record.TrackCount(), 3);
}

// Track values are gathered in one pass; they must equal what GetEntryValue
// finds key by key, whatever the text looks like.
TEST(ReadEntryTest, TrackValuesMatchKeyByKeyLookupOnRandomTexts) {
  const char* const pieces[] = {"TTITLE", "EXTT", "TTITLE1", "EXTT1", "=",  "0", "1",
                                "2",      "9",    "01",      "10",    "99", "x", " ",
                                "\r",     "\n",   "\r\n",    "100",   "E",  "T"};
  std::mt19937 random(11);
  std::uniform_int_distribution<int> pick(0, std::size(pieces) - 1);
  DiscTiming timing;
  timing.track_count = kMaxTracks;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int i = round % 60; i > 0; --i)
      text += pieces[pick(random)];
    if (text.empty())
      continue;
    DiscRecord record;
    record.SetTiming(timing);
    ASSERT_TRUE(ReadEntryIntoRecord(record, text, true));
    for (int n = 0; n < kMaxTracks; ++n) {
      const std::string number = std::to_string(n);
      ASSERT_EQ(record.TrackTitle(n), GetEntryValue("TTITLE" + number + "=", text))
          << n << " in " << testing::PrintToString(text);
      ASSERT_EQ(record.TrackExtended(n), GetEntryValue("EXTT" + number + "=", text))
          << n << " in " << testing::PrintToString(text);
    }
  }
}

TEST(WriteEntryTest, ReplacesCategoryAndExistingKeysOnly) {
  DiscRecord record;
  record.SetTiming(ThreeTrackTiming());
  record.SetCategory("blues");
  record.SetDiscTitle("New / Title");
  record.SetTrackTitle(0, std::string(80, 'z'));
  record.SetTrackTitle(2, "Two again");
  record.SetTrackExtended(2, "Not written: the entry has no EXTT2");
  std::string text = kEntry;
  WriteRecordIntoEntry(record, text);
  EXPECT_EQ(text,
            "200 blues 12345678\r\n"
            "# Revision: 2\r\n"
            "DISCID=12345678\r\n"
            "DTITLE=New / Title\r\n"
            "TTITLE0=" +
                std::string(71, 'z') + "\r\nTTITLE0=" + std::string(9, 'z') +
                "\r\n"
                "TTITLE1=\r\n"
                "TTITLE2=Two again\r\n"
                "TTITLE3=Three\r\n"
                "EXTD=\r\n"
                "EXTT1=\r\n"
                ".\r\n");
}

TEST(WriteEntryTest, LeavesHeadAloneWithoutCategoryOrSecondBlank) {
  DiscRecord record;
  std::string text = "200 jazz 12345678\r\nDTITLE=x\r\n";
  WriteRecordIntoEntry(record, text);
  EXPECT_EQ(text, "200 jazz 12345678\r\nDTITLE=\r\n");
  record.SetCategory("rock");
  std::string short_head = "200 jazz\r\nDTITLE=x y\r\n";
  WriteRecordIntoEntry(record, short_head);
  EXPECT_EQ(short_head, "200 jazz\r\nDTITLE=\r\n");
  std::string empty;
  WriteRecordIntoEntry(record, empty);
  EXPECT_TRUE(empty.empty());
}

TEST(EntryRoundTripTest, BuiltEntryReadsBackIntoTheSameTexts) {
  DiscRecord original;
  original.SetTiming(ThreeTrackTiming());
  original.SetCategory("rock");
  original.SetDiscIdText("0f01a203");
  original.SetDiscTitle(std::string(90, 'd') + " / " + std::string(90, 'a'));
  original.SetDiscExtended("Recorded live\\nin one take");
  original.SetTrackTitle(0, "Intro");
  original.SetTrackTitle(1, std::string(200, 'b'));
  original.SetTrackExtended(1, std::string(150, 'x'));
  const std::string text = BuildNewEntryText(original, false);

  DiscRecord copy;
  ASSERT_TRUE(ReadTocFromEntry(copy, text));
  ASSERT_TRUE(ReadEntryIntoRecord(copy, text, false));
  EXPECT_EQ(copy.TrackCount(), 3);
  EXPECT_EQ(copy.Timing().toc, original.Timing().toc);
  EXPECT_EQ(copy.TrackSeconds(2), 120);
  EXPECT_EQ(copy.DiscIdText(), "0f01a203");
  EXPECT_EQ(copy.Category(), "rock");
  EXPECT_EQ(copy.DiscTitle(), original.DiscTitle());
  EXPECT_EQ(copy.DiscExtended(), original.DiscExtended());
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(copy.TrackTitle(n), original.TrackTitle(n).value_or("")) << n;
    EXPECT_EQ(copy.TrackExtended(n), original.TrackExtended(n).value_or("")) << n;
  }
}

}  // namespace
}  // namespace zcd
