#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discdb/exporter_cdplayer_ini.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/exporter_raw_cddb.h"

namespace zcd {
namespace {

const std::string kDashes(79, '-');

// An entry as the program stores it; offsets in frames, disc length in seconds.
std::string Entry(const std::string& category, const std::vector<int>& offsets, int disc_seconds,
                  const std::string& keys) {
  std::string text = "200 " + category + " 0c01a202\r\n# xmcd CD database file\r\n#\r\n";
  text += "# Track frame offsets:\r\n";
  for (int offset : offsets)
    text += "#\t" + std::to_string(offset) + "\r\n";
  text += "#\r\n# Disc length: " + std::to_string(disc_seconds) + " seconds\r\n";
  text += "#\r\n# Revision: 1\r\n#\r\nDISCID=0c01a202\r\n" + keys + ".\r\n";
  return text;
}

// Offsets of n tracks of a minute each, starting at 2 s.
std::vector<int> MinuteTracks(int n) {
  std::vector<int> offsets;
  for (int i = 0; i < n; ++i)
    offsets.push_back(150 + i * 60 * 75);
  return offsets;
}

std::string Titles(int n, int missing = -1) {
  std::string keys;
  for (int i = 0; i < n; ++i) {
    if (i != missing)
      keys += "TTITLE" + std::to_string(i) + "=Song " + std::to_string(i + 1) + "\r\n";
  }
  return keys;
}

template <typename T>
std::string Format(uint32_t options, const std::string& entry) {
  T exporter;
  exporter.ReadOptions(options);
  exporter.set_scope("ALL");
  return exporter.FormatEntry(entry).value_or("<none>");
}

std::string FormatIni(const std::string& entry) {
  CdPlayerIniExporter exporter("/data");
  exporter.set_scope("ALL");
  return exporter.FormatEntry(entry).value_or("<none>");
}

TEST(PlainTextExportTest, EveryOptionWithEscapedLineBreaksAndTimes) {
  // Track 1 runs 2 s .. 247 s: 245 s.
  const std::string entry = Entry("rock", {150, 18525}, 300,
                                  "DTITLE=Some Artist / Some Album\r\nTTITLE0=Intro\r\n"
                                  "TTITLE1=Outro\r\nEXTD=Line one\\nLine two\r\n"
                                  "EXTT0=About\\nthe intro\r\nEXTT1=\r\nPLAYORDER=\r\n");
  EXPECT_EQ(Format<PlainTextExporter>(PlainTextExporter::kAllOptions, entry),
            kDashes + "\r\nArtist:   Some Artist\r\nAlbum:    Some Album\r\nCategory: rock\r\n" +
                "Line one\r\nLine two\r\n" + kDashes + "\r\n" +
                "1:  Intro\t[4:05]\r\nAbout\r\nthe intro\r\n\r\n" +
                "2:  Outro\t[0:53]\r\n\r\n\r\n");
}

TEST(PlainTextExportTest, OnlyTrackTitlesChangeToOneBlankFromTen) {
  const std::string entry = Entry("rock", MinuteTracks(12), 800, Titles(12));
  std::string expected = kDashes + "\r\n";
  for (int n = 1; n <= 12; ++n)
    expected += std::to_string(n) + (n <= 9 ? ":  " : ": ") + "Song " + std::to_string(n) + "\r\n";
  expected += "\r\n\r\n";
  EXPECT_EQ(Format<PlainTextExporter>(PlainTextExporter::kTrackTitles, entry), expected);
}

TEST(PlainTextExportTest, HeadBlockWithoutTracksAndWithoutAnything) {
  const std::string entry =
      Entry("jazz", MinuteTracks(2), 200, "DTITLE=Album only\r\n" + Titles(2) + "EXTD=\r\n");
  // Without a slash there is no artist; the album is the whole title; an
  // empty EXTD adds nothing.
  EXPECT_EQ(Format<PlainTextExporter>(PlainTextExporter::kArtist | PlainTextExporter::kCdTitle |
                                          PlainTextExporter::kExtendedInfo,
                                      entry),
            kDashes + "\r\nAlbum:    Album only\r\n" + kDashes + "\r\n\r\n\r\n");
  EXPECT_EQ(Format<PlainTextExporter>(0, entry), kDashes + "\r\n\r\n\r\n");
  // Extended info alone: the separator still ends its line before the text.
  const std::string with_extd = Entry("jazz", MinuteTracks(1), 100, "EXTD=a\\nb\r\n");
  EXPECT_EQ(Format<PlainTextExporter>(PlainTextExporter::kExtendedInfo, with_extd),
            kDashes + "\r\na\r\nb\r\n\r\n\r\n\r\n");
}

TEST(PlainTextExportTest, ListingStopsAtTheFirstMissingTitle) {
  const std::string entry = Entry("rock", MinuteTracks(12), 800, Titles(12, 5));
  const std::string text = Format<PlainTextExporter>(PlainTextExporter::kTrackTitles, entry);
  EXPECT_NE(text.find("5:  Song 5\r\n"), std::string::npos);
  EXPECT_EQ(text.find("7:  "), std::string::npos);
  EXPECT_TRUE(text.ends_with("5:  Song 5\r\n\r\n\r\n"));
}

TEST(CdPlayerIniExportTest, SectionStopsAtTheFirstMissingTitle) {
  const std::string entry =
      Entry("rock", MinuteTracks(12), 800, "DTITLE=Artist / Album\r\n" + Titles(12, 5));
  EXPECT_EQ(FormatIni(entry),
            "[421800]\r\nartist=Artist\r\ntitle=Album\r\ncategory=rock\r\n"
            "0=Song 1\r\n1=Song 2\r\n2=Song 3\r\n3=Song 4\r\n4=Song 5\r\nnumtracks=5\r\n\r\n");
}

TEST(CdPlayerIniExportTest, TitleWithoutSlashAndShortDiscKey) {
  // Fewer than three tracks: the key also counts the disc length.
  const std::string entry = Entry("misc", {150}, 100, "DTITLE=Just a title\r\nTTITLE0=One\r\n");
  EXPECT_EQ(FormatIni(entry),
            "[1F4C]\r\ntitle=Just a title\r\ncategory=misc\r\n0=One\r\nnumtracks=1\r\n\r\n");
}

TEST(RawCddbExportTest, OptionsCutTheEntry) {
  const std::string entry =
      Entry("rock", MinuteTracks(2), 200,
            "DTITLE=A / B\r\n" + Titles(2) + "EXTD=x\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER=2,1\r\n");
  const std::string from_discid = entry.substr(entry.find("DISCID="));
  const std::string keys_only = from_discid.substr(0, from_discid.find("EXTD="));
  EXPECT_EQ(Format<RawCddbExporter>(0, entry), keys_only + "\r\n\r\n");
  EXPECT_TRUE(keys_only.ends_with("TTITLE1=Song 2\r\n"));
  EXPECT_EQ(Format<RawCddbExporter>(RawCddbExporter::kAllOptions, entry),
            entry.substr(entry.find('\n') + 1) + "\r\n\r\n");
  EXPECT_EQ(Format<RawCddbExporter>(RawCddbExporter::kEntryHeader | RawCddbExporter::kExtendedInfo,
                                    entry),
            entry.substr(entry.find('\n') + 1, entry.find("PLAYORDER=") - entry.find('\n') - 1) +
                "\r\n\r\n");
  EXPECT_EQ(Format<RawCddbExporter>(0, "200 rock 0c01a202"), "<none>");
}

TEST(ExportFormatsTest, CachedAndUncategorisedEntriesProduceNothing) {
  const std::string cached = Entry("cached", MinuteTracks(1), 100, Titles(1));
  const std::string no_category = "200\r\nDISCID=0c01a202\r\nTTITLE0=x\r\n.\r\n";
  for (const std::string& entry : {cached, no_category}) {
    EXPECT_EQ(Format<PlainTextExporter>(PlainTextExporter::kAllOptions, entry), "<none>");
    EXPECT_EQ(FormatIni(entry), "<none>");
    EXPECT_EQ(Format<RawCddbExporter>(RawCddbExporter::kAllOptions, entry), "<none>");
  }
}

}  // namespace
}  // namespace zcd
