#include "discdb/import_cdplayer_ini.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "discdb/sample_disc.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

class ImportCdPlayerIniTest : public ::testing::Test {
 protected:
  void LoadDisc(int tracks) {
    record_.SetTiming(test::MinuteTrackTiming(tracks));
    record_.SetDefaultDiscText();
    section_ = CdPlayerIniKey(record_.Timing());
  }
  std::string DiscId() const { return DiscIdText(ComputeCddbDiscId(record_.Timing())); }

  test::TempDir dir_;
  const std::string ini_ = dir_.File("cdplayer.ini");
  const std::string db_ = dir_.File("ZCD.zdb");
  DiscRecord record_;
  std::string section_;
};

TEST_F(ImportCdPlayerIniTest, ArtistAloneAndDefaultTrackTitles) {
  LoadDisc(3);
  dir_.Write("cdplayer.ini", "[" + section_ + "]\r\nartist=The Band\r\ntitle=\r\nnumtracks=3\r\n");
  EXPECT_EQ(ImportCdPlayerIni(record_, ini_, db_), CdPlayerIniImport::kStored);
  EXPECT_EQ(record_.DiscTitle(), "The Band");
  EXPECT_EQ(record_.TrackTitle(0), "track 0");
  EXPECT_EQ(record_.TrackTitle(2), "track 2");
  EXPECT_EQ(record_.Category(), "cdplayer.ini_imports");
  EXPECT_EQ(record_.DiscIdText(), DiscId());
  EXPECT_EQ(DbFindEntry(db_, "cdplayer.ini_imports/" + DiscId()),
            BuildNewEntryText(record_, false));
}

TEST_F(ImportCdPlayerIniTest, TitlesBeyondTheDiscAreIgnored) {
  LoadDisc(10);
  std::string section = "[" + section_ + "]\r\nnumtracks=12\r\ntitle=Album\r\n";
  for (int i = 0; i < 12; ++i)
    section += std::to_string(i) + "=Song " + std::to_string(i) + "\r\n";
  dir_.Write("cdplayer.ini", "[other]\r\nnumtracks=1\r\n" + section);
  EXPECT_EQ(ImportCdPlayerIni(record_, ini_, db_), CdPlayerIniImport::kStored);
  EXPECT_EQ(record_.DiscTitle(), "Unknown CD / Album");
  EXPECT_EQ(record_.TrackTitle(9), "Song 9");
  const std::string entry = DbFindEntry(db_, DiscId()).value_or("");
  EXPECT_EQ(GetEntryValue("TTITLE9=", entry), "Song 9");
  EXPECT_EQ(GetEntryValue("TTITLE10=", entry), std::nullopt);
}

TEST_F(ImportCdPlayerIniTest, NothingWithoutSectionOrTracksAndAnUnwritableDatabaseIsReported) {
  LoadDisc(3);
  EXPECT_EQ(ImportCdPlayerIni(record_, ini_, db_), CdPlayerIniImport::kNotFound);
  dir_.Write("cdplayer.ini", "[" + section_ + "]\r\nartist=X\r\nnumtracks=0\r\n[1234]\r\n");
  EXPECT_EQ(ImportCdPlayerIni(record_, ini_, db_), CdPlayerIniImport::kNotFound);
  EXPECT_EQ(record_.DiscTitle(), "Unknown CD");
  EXPECT_FALSE(std::filesystem::exists(db_));

  // A database that cannot be written is reported; the record has the texts.
  dir_.Write("cdplayer.ini", "[" + section_ + "]\r\nartist=X\r\nnumtracks=3\r\n");
  EXPECT_EQ(ImportCdPlayerIni(record_, ini_, dir_.File("missing/ZCD.zdb")),
            CdPlayerIniImport::kNotStored);
  EXPECT_EQ(record_.DiscTitle(), "X");
}

}  // namespace
}  // namespace zcd
