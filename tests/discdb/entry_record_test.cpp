#include <gtest/gtest.h>

#include <random>

#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "discdb/sample_disc.h"

namespace zcd {
namespace {

const char kEntry[] =
    "200 jazz 12345678\r\n# Revision: 2\r\nDISCID=12345678\r\nDTITLE=Artist / Album\r\n"
    "TTITLE0=Zero\r\nTTITLE1=One\r\nTTITLE2=Two, part\r\nTTITLE2= two\r\nTTITLE3=Three\r\n"
    "EXTD=Notes\\nmore\r\nEXTT1=About one\r\n.\r\n";

TEST(ReadEntryTest, BoundRecordKeepsItsTrackCountAndIdentifier) {
  DiscRecord record;
  record.SetTiming(test::ThreeTrackTiming());
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

// A title holding key text ("TTITLE0=", "# Revision:") is only a title: it
// neither feeds another key nor is replaced when that key is saved.
TEST(ReadEntryTest, KeyTextInsideAValueIsNeverAKey) {
  const std::string text =
      "200 jazz 12345678\r\n# Revision: 2\r\nDISCID=12345678\r\n"
      "DTITLE=A / B # Revision: 9\r\nTTITLE0=Zero\r\nTTITLE1=Say TTITLE0=x\r\n"
      "TTITLE2=Two\r\n.\r\n";
  DiscRecord record;
  record.SetTiming(test::ThreeTrackTiming());
  ASSERT_TRUE(ReadEntryIntoRecord(record, text, true));
  EXPECT_EQ(record.TrackTitle(0), "Zero");
  EXPECT_EQ(record.TrackTitle(1), "Say TTITLE0=x");
  EXPECT_EQ(EntryRevision(text), 2);
  record.SetTrackTitle(0, "New");
  std::string saved = text;
  WriteRecordIntoEntry(record, saved);
  EXPECT_NE(saved.find("\r\nTTITLE0=New\r\nTTITLE1=Say TTITLE0=x\r\n"), std::string::npos) << saved;
}

TEST(ReadEntryTest, FreeStandingRecordCountsTitlesUpToTheFirstGapAndKeepsItsTiming) {
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

  DiscRecord timed;
  timed.SetTiming(test::ThreeTrackTiming());
  ASSERT_TRUE(ReadEntryIntoRecord(timed, kEntry, false));
  EXPECT_EQ(timed.TrackCount(), 4);
  EXPECT_EQ(timed.DiscIdText(), "0f01a203");
  EXPECT_EQ(timed.Timing().toc[1], TrackTocEntry::FromMsf(3, 10, 0));
  EXPECT_EQ(timed.Timing().disc_seconds, 420);

  // An empty text changes nothing.
  timed.SetDefaultDiscText();
  EXPECT_FALSE(ReadEntryIntoRecord(timed, "", true));
  EXPECT_FALSE(ReadEntryIntoRecord(timed, "", false));
  EXPECT_EQ(timed.DiscTitle(), "Unknown CD");
  EXPECT_EQ(timed.TrackCount(), 4);
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
  record.SetTiming(test::ThreeTrackTiming());
  record.SetCategory("blues");
  record.SetDiscTitle("New / Title");
  record.SetTrackTitle(0, std::string(80, 'z'));
  record.SetTrackTitle(2, "Two again");
  record.SetTrackExtended(2, "Not written: the entry has no EXTT2");
  std::string text = kEntry;
  WriteRecordIntoEntry(record, text);
  EXPECT_EQ(text,
            "200 blues 12345678\r\n# Revision: 2\r\nDISCID=12345678\r\nDTITLE=New / Title\r\n"
            "TTITLE0=" +
                std::string(71, 'z') +
                "\r\nTTITLE0=zzzzzzzzz\r\nTTITLE1=\r\n"
                "TTITLE2=Two again\r\nTTITLE3=Three\r\nEXTD=\r\nEXTT1=\r\n.\r\n");

  // Without a category, or without a second blank in the head, the head
  // stays as it is.
  DiscRecord empty;
  text = "200 jazz 12345678\r\nDTITLE=x\r\n";
  WriteRecordIntoEntry(empty, text);
  EXPECT_EQ(text, "200 jazz 12345678\r\nDTITLE=\r\n");
  empty.SetCategory("rock");
  text = "200 jazz\r\nDTITLE=x y\r\n";
  WriteRecordIntoEntry(empty, text);
  EXPECT_EQ(text, "200 jazz\r\nDTITLE=\r\n");
  text.clear();
  WriteRecordIntoEntry(empty, text);
  EXPECT_TRUE(text.empty());
}

TEST(ReadTocTest, RowsLengthsAndLeadOutFromTheCommentBlockAndNoMore) {
  const std::string sound =
      "200 rock 0c01a202\r\n# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n# \t 14250\n"
      "#       20012\r\n#\r\n# Disc length: 421 seconds\r\nDTITLE=x\r\n";
  std::string many = "h\r\n# Track frame offsets:\r\n";
  for (int i = 1; i <= 150; ++i)
    many += "#\t" + std::to_string(i * 1000) + "\r\n";
  const struct {
    std::string text;
    bool read;
    int tracks;
    int32_t last_start, lead_out, disc_seconds;
  } cases[] = {
      // The lead-out at 7:01.00 has whole seconds only.
      {sound, true, 3, 20012, 31575, 421},
      // Without offsets the record is left alone: a line not starting with
      // "#" ends the walk before any.
      {"200 rock x\r\nDTITLE=y\r\n# Track frame offsets:\r\n#\t1\r\n", true, 1, 150, 7500, 100},
      {"# Track frame offsets:\r\n#\t1\r\n", true, 1, 150, 7500, 100},
      {"200 rock x\r\n#\r\n#", true, 1, 150, 7500, 100},
      {"", false, 1, 150, 7500, 100},
      // Numbers that end the list early, huge numbers and more rows than fit.
      {"h\n# Track frame offsets:\n#\t150\n#x 7\n#\t300\n# Disc length: 9\n", true, 1, 150, 675, 9},
      {"h\n# Track frame offsets:\n#99999999999\n# Disc length: 99999999999 seconds\n", true, 1,
       2147483647, 2147483647 / 75 * 75, 2147483647 / 75},
      {many + "#\r\n# Disc length: 3000 seconds\r\n", true, kMaxTracks, 100000, 3000 * 75, 3000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    DiscRecord record;
    record.SetTiming(test::DiscTimingOf({150, 7500}));
    EXPECT_EQ(ReadTocFromEntry(record, c.text), c.read);
    ASSERT_EQ(record.TrackCount(), c.tracks);
    EXPECT_EQ(record.Timing().toc[c.tracks - 1].frame_address, c.last_start);
    EXPECT_EQ(record.Timing().LeadOut().frame_address, c.lead_out);
    EXPECT_EQ(record.DiscSeconds(), c.disc_seconds);
  }
  DiscRecord record;
  ASSERT_TRUE(ReadTocFromEntry(record, sound));
  const DiscTiming read = record.Timing();
  EXPECT_EQ(read.toc, test::DiscTimingOf({150, 14250, 20012, 31575}).toc);
  EXPECT_EQ(std::vector(read.track_seconds.begin(), read.track_seconds.begin() + 4),
            (std::vector<int32_t>{188, 76, 155, -1}));
}

TEST(EntryIniKeyTest, BuiltEntriesGiveBackTheirTimingAndItsKeyAndAnEmptyTextHasNone) {
  for (const DiscTiming& timing :
       {test::DiscTimingOf({150, 14250, 22500, 37500}), test::DiscTimingOf({182, 14250, 31575}),
        test::DiscTimingOf({33, 4575})}) {
    DiscRecord record;
    record.SetTiming(timing);
    const std::string text = BuildNewEntryText(record, false);
    EXPECT_EQ(EntryCdPlayerIniKey(text), CdPlayerIniKey(timing));
    DiscRecord copy;
    ASSERT_TRUE(ReadTocFromEntry(copy, text));
    EXPECT_EQ(copy.Timing().toc, timing.toc);
  }
  // With fewer than three tracks the disc length counts.
  DiscRecord record;
  record.SetTiming(test::DiscTimingOf({182, 14250, 31575}));
  const std::string text = BuildNewEntryText(record, false);
  std::string longer = text;
  longer.replace(longer.find("421 seconds"), 3, "422");
  EXPECT_NE(EntryCdPlayerIniKey(longer), EntryCdPlayerIniKey(text));
  EXPECT_FALSE(EntryCdPlayerIniKey(""));
  // No offsets: only the disc length counts.
  EXPECT_EQ(EntryCdPlayerIniKey("x\r\n# Disc length: 2 seconds\r\n"), "96");
}

}  // namespace
}  // namespace zcd
