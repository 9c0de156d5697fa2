#include <gtest/gtest.h>

#include <random>

#include "discdb/entry_text.h"
#include "discdb/sample_disc.h"

namespace zcd {
namespace {

// Entries arrive from files and servers cut short or garbled. Every
// operation must stay inside the text and keep its promises; run under the
// sanitizers this also catches any read past the end.
void CheckEveryOperation(const std::string& text) {
  SCOPED_TRACE(testing::PrintToString(text));
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(HeadDiscId(text, n).value_or("12345678").size(), 8u);
    EXPECT_EQ(HeadCategory(text, n).value_or("").find_first_of(" \n"), std::string::npos);
  }
  for (const char* key : {"DTITLE=", "TTITLE0=", "EXTT1=", "PLAYORDER="}) {
    std::string copy = text;
    const std::string value(100, 'v');
    if (!SetEntryValue(key, value, copy)) {
      EXPECT_EQ(copy, text);
    } else if (const auto after = GetEntryValue(key, copy)) {
      // Later lines of the key elsewhere may add to it, but it starts here.
      EXPECT_TRUE(after->starts_with(value));
    }
  }

  DiscRecord free_record;
  const bool toc_read = ReadTocFromEntry(free_record, text);
  EXPECT_EQ(toc_read, !text.empty());
  EXPECT_LE(free_record.TrackCount(), kMaxTracks);
  EXPECT_EQ(ReadEntryIntoRecord(free_record, text, false), !text.empty());
  EXPECT_LE(free_record.TrackCount(), kMaxTracks);
  DiscRecord bound_record;
  DiscTiming timing;
  timing.track_count = kMaxTracks;
  bound_record.SetTiming(timing);
  ReadEntryIntoRecord(bound_record, text, true);
  EXPECT_EQ(bound_record.TrackCount(), kMaxTracks);

  std::string written = text;
  WriteRecordIntoEntry(bound_record, written);
  EXPECT_EQ(EntryCdPlayerIniKey(text).has_value(), !text.empty());

  std::string stamped = text;
  const int64_t old_revision = EntryRevision(text);
  if (StampRevision(stamped)) {
    EXPECT_EQ(EntryRevision(stamped),
              old_revision < 0 ? 1 : std::min<int64_t>(old_revision + 1, INT32_MAX));
  } else {
    EXPECT_EQ(stamped, text);
  }
  std::string normalized = text;
  if (NormalizeReadEntry(bound_record, normalized)) {
    EXPECT_TRUE(normalized.starts_with("200 "));
  } else {
    EXPECT_EQ(normalized, text);
  }
  EXPECT_LE(SkipReplyHead(text).size(), text.size());
}

std::string SampleEntry() {
  DiscRecord record;
  record.SetTiming(test::DiscTimingOf({150, 15150, 30150, 45150}, 602));
  record.SetCategory("misc");
  record.SetDiscTitle("Artist / Album");
  record.SetTrackTitle(1, "Two");
  record.SetTrackExtended(2, "Three\\nlines");
  return BuildNewEntryText(record, false);
}

TEST(MalformedEntryTest, EveryPrefixOfAnEntryRandomlyDamagedEntriesAndOddLines) {
  const std::string entry = SampleEntry();
  for (std::size_t length = 0; length <= entry.size(); ++length)
    CheckEveryOperation(entry.substr(0, length));
  std::mt19937 random(3);
  const std::string noise = "\r\n #=0123456789TDEX\\";
  for (int round = 0; round < 300; ++round) {
    std::string damaged = entry;
    std::uniform_int_distribution<std::size_t> position(0, damaged.size() - 1);
    for (int hits = 1 + round % 8; hits > 0; --hits)
      damaged[position(random)] = noise[random() % noise.size()];
    damaged.resize(position(random));
    CheckEveryOperation(damaged);
  }
  for (const std::string text :
       {"\n", "\r", "\r\n\r\n", " ", "  ", "#", "200", "200 ", "200  ", "DTITLE=", "=\n",
        "# Revision:", "# Revision: -5\nDISCID=", "h\n# Track frame offsets:",
        "h\n# Track frame offsets:\n#", "h\n# Track frame offsets:\n#\t-300\n", "\\", "\\n"})
    CheckEveryOperation(text);
}

}  // namespace
}  // namespace zcd
