#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "discdb/database.h"
#include "discdb/db_bytes.h"
#include "discdb/export_run.h"
#include "discdb/exporter_cdplayer_ini.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/exporter_raw_cddb.h"
#include "discdb/sample_disc.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::SampleEntryText;

const std::string kDashes(79, '-');
using Plain = PlainTextExporter;
using Raw = RawCddbExporter;

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

// Offsets of n tracks of a minute each, starting at 2 s, and their titles.
std::vector<int> MinuteOffsets(int n) {
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

std::string Format(Exporter&& exporter, uint32_t options, const std::string& entry,
                   const std::string& scope = kExportAllScope) {
  exporter.ReadOptions(options);
  exporter.set_scope(scope);
  return exporter.FormatEntry(entry).value_or("<none>");
}
std::string FormatIni(const std::string& entry) {
  return Format(CdPlayerIniExporter("/data"), 0, entry);
}

TEST(ExporterTest, ScopesMatchWithoutRegardToCaseAndNeverTakeCachedOrUncategorisedEntries) {
  const std::string entry =
      "200 Rock 0c01a202\r\n# xmcd\r\nDISCID=0c01a202\r\nDTITLE=AC/DC / Back in Black\r\n.\r\n";
  // The artist is the text before the first slash; only the exact word
  // "cached" marks a cached entry.
  const struct {
    std::string scope, entry;
    bool accepted;
  } cases[] = {
      {"ALL", entry, true},
      {CategoryScope("rock"), entry, true},
      {CategoryScope("roc"), entry, false},
      {ArtistScope("ac"), entry, true},
      {ArtistScope("AC/DC"), entry, false},
      {"art AC\n", entry, true},
      {DiscScope("whatever title", "0C01A202"), entry, true},
      {DiscScope("AC/DC / Back in Black", "0c01a203"), entry, false},
      {"XYZ rock\n", entry, false},
      {"CAT\n", entry, false},
      {ArtistScope("Album only"), "200 rock 0c01a202\r\nDTITLE=Album only\r\n.\r\n", false},
      {ArtistScope("x"), "200 rock 0c01a202\r\n.\r\n", false},
      {"ALL", "300 cached 0c01a202\r\n.\r\n", false},
      {"ALL", "200\r\n.\r\n", false},
      {"ALL", "200 Cached 0c01a202\r\n.\r\n", true}};
  for (const auto& c : cases) {
    RawCddbExporter exporter;
    exporter.set_scope(c.scope);
    EXPECT_EQ(AcceptsEntry(exporter, c.entry), c.accepted) << c.scope << " on " << c.entry;
  }
}

TEST(ExporterTest, FileNamesFollowScopeAndOptions) {
  PlainTextExporter plain;
  const std::pair<std::string, std::string> by_scope[] = {
      {"ALL", "zcd_export.txt"},
      {CategoryScope("rock"), "zcd_category.txt"},
      {ArtistScope("x"), "zcd_artist.txt"},
      {DiscScope("t", "0c01a202"), "zcd_album.txt"}};
  for (const auto& [scope, name] : by_scope) {
    plain.set_scope(scope);
    EXPECT_EQ(plain.DefaultFileName(), name);
    EXPECT_EQ(plain.file_name(), name);
  }

  CdPlayerIniExporter ini("/home/u/.local/share/zcd");
  EXPECT_EQ(ini.ShowOptions(), CdPlayerIniExporter::kIntoCdPlayerIni);
  ini.ReadOptions(CdPlayerIniExporter::kIntoCdPlayerIni);
  EXPECT_EQ(ini.DefaultFileName(), "/home/u/.local/share/zcd/cdplayer.ini");
  EXPECT_EQ(ini.open_mode(), ExportOpenMode::kAppend);
  EXPECT_FALSE(ini.AsksForFileName());
  // Choosing "Overwrite" after "into" must not keep appending.
  ini.ReadOptions(CdPlayerIniExporter::kOverwriteCdPlayerIni);
  EXPECT_EQ(ini.ShowOptions(), CdPlayerIniExporter::kOverwriteCdPlayerIni);
  EXPECT_EQ(ini.DefaultFileName(), "/home/u/.local/share/zcd/cdplayer.ini");
  EXPECT_EQ(ini.open_mode(), ExportOpenMode::kReplace);
  ini.ReadOptions(CdPlayerIniExporter::kDifferentFileName | 0x100);
  EXPECT_EQ(ini.options(), CdPlayerIniExporter::kDifferentFileName);
  EXPECT_EQ(ini.DefaultFileName(), "zcd_iniformat.txt");
  EXPECT_TRUE(ini.AsksForFileName());
}

TEST(PlainTextExportTest, EachOptionAndTheTrackListing) {
  // Track 1 runs 2 s .. 247 s: 245 s. Line breaks come escaped.
  const std::string entry = Entry("rock", {150, 18525}, 300,
                                  "DTITLE=Some Artist / Some Album\r\nTTITLE0=Intro\r\n"
                                  "TTITLE1=Outro\r\nEXTD=Line one\\nLine two\r\n"
                                  "EXTT0=About\\nthe intro\r\nEXTT1=\r\nPLAYORDER=\r\n");
  EXPECT_EQ(Format(Plain(), Plain::kAllOptions, entry),
            kDashes + "\r\nArtist:   Some Artist\r\nAlbum:    Some Album\r\nCategory: rock\r\n" +
                "Line one\r\nLine two\r\n" + kDashes + "\r\n" +
                "1:  Intro\t[4:05]\r\nAbout\r\nthe intro\r\n\r\n" +
                "2:  Outro\t[0:53]\r\n\r\n\r\n");

  // Titles only: one blank after the number from track ten on; the listing
  // stops at the first missing title.
  std::string expected = kDashes + "\r\n";
  for (int n = 1; n <= 12; ++n)
    expected += std::to_string(n) + (n <= 9 ? ":  " : ": ") + "Song " + std::to_string(n) + "\r\n";
  EXPECT_EQ(Format(Plain(), Plain::kTrackTitles, Entry("rock", MinuteOffsets(12), 800, Titles(12))),
            expected + "\r\n\r\n");
  EXPECT_EQ(
      Format(Plain(), Plain::kTrackTitles, Entry("rock", MinuteOffsets(12), 800, Titles(12, 5))),
      expected.substr(0, expected.find("6:  ")) + "\r\n\r\n");

  // Without a slash there is no artist; the album is the whole title; an
  // empty EXTD adds nothing.
  const std::string album_only =
      Entry("jazz", MinuteOffsets(2), 200, "DTITLE=Album only\r\n" + Titles(2) + "EXTD=\r\n");
  EXPECT_EQ(Format(Plain(), Plain::kArtist | Plain::kCdTitle | Plain::kExtendedInfo, album_only),
            kDashes + "\r\nAlbum:    Album only\r\n" + kDashes + "\r\n\r\n\r\n");
  EXPECT_EQ(Format(Plain(), 0, album_only), kDashes + "\r\n\r\n\r\n");
  // Extended info alone: the separator still ends its line before the text.
  EXPECT_EQ(
      Format(Plain(), Plain::kExtendedInfo, Entry("jazz", MinuteOffsets(1), 100, "EXTD=a\\nb\r\n")),
      kDashes + "\r\na\r\nb\r\n\r\n\r\n\r\n");
}

TEST(CdPlayerIniExportTest, SectionStopsAtTheFirstMissingTitleAndShortDiscsCountTheirLength) {
  EXPECT_EQ(
      FormatIni(Entry("rock", MinuteOffsets(12), 800, "DTITLE=Artist / Album\r\n" + Titles(12, 5))),
      "[421800]\r\nartist=Artist\r\ntitle=Album\r\ncategory=rock\r\n"
      "0=Song 1\r\n1=Song 2\r\n2=Song 3\r\n3=Song 4\r\n4=Song 5\r\nnumtracks=5\r\n\r\n");
  // Fewer than three tracks: the key also counts the disc length.
  EXPECT_EQ(FormatIni(Entry("misc", {150}, 100, "DTITLE=Just a title\r\nTTITLE0=One\r\n")),
            "[1F4C]\r\ntitle=Just a title\r\ncategory=misc\r\n0=One\r\nnumtracks=1\r\n\r\n");
}

TEST(RawCddbExportTest, OptionsCutTheEntry) {
  const std::string entry = Entry("rock", MinuteOffsets(2), 200,
                                  // Key text inside a title cuts nothing.
                                  "DTITLE=A / B EXTD= PLAYORDER=\r\n" + Titles(2) +
                                      "EXTD=x\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER=2,1\r\n");
  const std::string from_discid = entry.substr(entry.find("\nDISCID=") + 1);
  const std::string keys_only = from_discid.substr(0, from_discid.find("\nEXTD=") + 1);
  EXPECT_EQ(Format(Raw(), 0, entry), keys_only + "\r\n\r\n");
  EXPECT_TRUE(keys_only.ends_with("TTITLE1=Song 2\r\n"));
  EXPECT_EQ(Format(Raw(), Raw::kAllOptions, entry),
            entry.substr(entry.find('\n') + 1) + "\r\n\r\n");
  EXPECT_EQ(Format(Raw(), Raw::kEntryHeader | Raw::kExtendedInfo, entry),
            entry.substr(entry.find('\n') + 1, entry.find("\nPLAYORDER=") - entry.find('\n')) +
                "\r\n\r\n");
  EXPECT_EQ(Format(Raw(), 0, "200 rock 0c01a202"), "<none>");
}

TEST(ExportFormatsTest, CachedAndUncategorisedEntriesProduceNothing) {
  for (const std::string& entry : {Entry("cached", MinuteOffsets(1), 100, Titles(1)),
                                   std::string("200\r\nDISCID=0c01a202\r\nTTITLE0=x\r\n.\r\n")}) {
    EXPECT_EQ(Format(Plain(), Plain::kAllOptions, entry), "<none>");
    EXPECT_EQ(FormatIni(entry), "<none>");
    EXPECT_EQ(Format(Raw(), Raw::kAllOptions, entry), "<none>");
  }
}

class ExportRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DbAddEntry(db_, "rock/0c01a202", rock_), 1);
    ASSERT_EQ(DbAddEntry(db_, "cached/11111111", SampleEntryText("cached", "11111111", "C / D")),
              1);
    ASSERT_EQ(DbAddEntry(db_, "jazz/22222222", jazz_), 1);
  }

  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
  const std::string rock_ = SampleEntryText("rock", "0c01a202", "Band / First");
  const std::string jazz_ = SampleEntryText("jazz", "22222222", "band / Second");
};

TEST_F(ExportRunTest, WritesEveryAcceptedEntryInIndexOrderReplacingTheFile) {
  dir_.Write("out.txt", "old content that must go");
  RawCddbExporter exporter;
  exporter.ReadOptions(RawCddbExporter::kAllOptions);
  exporter.set_scope("ALL");
  exporter.set_file_name(dir_.File("out.txt"));
  const std::string raw_rock = *exporter.FormatEntry(rock_);
  const std::string raw_jazz = *exporter.FormatEntry(jazz_);
  std::string error;
  int64_t exported = 0;
  std::vector<int64_t> progress;
  ASSERT_TRUE(DbForEachEntry(db_, exporter, &error, &exported, [&](int64_t written) {
    progress.push_back(written);
  })) << error;
  EXPECT_EQ(dir_.Read("out.txt"), raw_rock + raw_jazz);
  // Heard after every row, the cached one too, counting only what was written.
  EXPECT_EQ(progress, (std::vector<int64_t>{1, 1, 2}));
  EXPECT_EQ(exported, 2);

  exporter.set_scope(CategoryScope("JAZZ"));
  ASSERT_TRUE(DbForEachEntry(db_, exporter));
  EXPECT_EQ(dir_.Read("out.txt"), raw_jazz);
  // A scope nothing matches still makes an (empty) file.
  exporter.set_scope(ArtistScope("nobody"));
  ASSERT_TRUE(DbForEachEntry(db_, exporter));
  EXPECT_EQ(dir_.Read("out.txt"), "");
}

TEST_F(ExportRunTest, IntoCdPlayerIniAppendsEachTime) {
  dir_.Write("cdplayer.ini", "[Settings]\r\nIntroTime=10\r\n");
  CdPlayerIniExporter exporter(dir_.path());
  exporter.ReadOptions(CdPlayerIniExporter::kIntoCdPlayerIni);
  exporter.set_scope(ArtistScope("BAND"));
  ASSERT_EQ(exporter.DefaultFileName(), dir_.File("cdplayer.ini"));
  ASSERT_TRUE(DbForEachEntry(db_, exporter));
  ASSERT_TRUE(DbForEachEntry(db_, exporter));
  const std::string sections = *exporter.FormatEntry(rock_) + *exporter.FormatEntry(jazz_);
  EXPECT_EQ(dir_.Read("cdplayer.ini"), "[Settings]\r\nIntroTime=10\r\n" + sections + sections);
}

TEST_F(ExportRunTest, FailuresAreReportedAndLeaveTheOutputAndTheDatabaseAlone) {
  dir_.Write("keep.txt", "keep me");
  dir_.Write("text.zdb", "not a database at all");
  std::filesystem::create_hard_link(db_, dir_.File("alias.txt"));
  const std::string before = dir_.Read("ZCD.zdb");
  // The second row's text offset points beyond the index.
  dir_.Write("broken.zdb", test::WithRowField(before, 1, 0, 0x7fffffff));
  const struct {
    std::string db, out, scope, error;
  } cases[] = {{dir_.File("missing.zdb"), dir_.File("keep.txt"), "ALL", "missing.zdb"},
               {dir_.File("text.zdb"), dir_.File("keep.txt"), "ALL", "text.zdb"},
               // The output may not be the database itself, under any name.
               {db_, db_, "ALL", ""},
               {db_, dir_.File("alias.txt"), "ALL", ""},
               {db_, dir_.File("no/such/folder/out.txt"), "ALL", "out.txt"},
               {db_, dir_.File("out.txt"), "", ""},
               {db_, "/dev/full", "ALL", "/dev/full"},
               {dir_.File("broken.zdb"), dir_.File("broken.txt"), "ALL", "damaged"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.db + " to " + c.out);
    PlainTextExporter exporter;
    exporter.ReadOptions(PlainTextExporter::kAllOptions);
    exporter.set_scope(c.scope);
    exporter.set_file_name(c.out);
    std::string error;
    EXPECT_FALSE(DbForEachEntry(c.db, exporter, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
  EXPECT_EQ(dir_.Read("keep.txt"), "keep me");
  EXPECT_EQ(dir_.Read("ZCD.zdb"), before);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.txt")));
}

}  // namespace
}  // namespace zcd
