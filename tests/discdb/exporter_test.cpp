#include "discdb/exporter.h"

#include <gtest/gtest.h>

#include "discdb/exporter_cdplayer_ini.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/exporter_raw_cddb.h"

namespace zcd {
namespace {

const std::string kEntry =
    "200 Rock 0c01a202\r\n# xmcd\r\nDISCID=0c01a202\r\nDTITLE=AC/DC / Back in Black\r\n.\r\n";

bool Accepts(const std::string& scope, const std::string& entry = kEntry) {
  RawCddbExporter exporter;
  exporter.set_scope(scope);
  return AcceptsEntry(exporter, entry);
}

TEST(ExporterTest, ScopesMatchWithoutRegardToCase) {
  EXPECT_TRUE(Accepts("ALL"));
  EXPECT_TRUE(Accepts(CategoryScope("rock")));
  EXPECT_FALSE(Accepts(CategoryScope("roc")));
  // The artist is the text before the first slash.
  EXPECT_TRUE(Accepts(ArtistScope("ac")));
  EXPECT_FALSE(Accepts(ArtistScope("AC/DC")));
  EXPECT_TRUE(Accepts("art AC\n"));
  EXPECT_TRUE(Accepts(DiscScope("whatever title", "0C01A202")));
  EXPECT_FALSE(Accepts(DiscScope("AC/DC / Back in Black", "0c01a203")));
  EXPECT_FALSE(Accepts("XYZ rock\n"));
  EXPECT_FALSE(Accepts("CAT\n"));
}

TEST(ExporterTest, EntriesWithoutArtistCategoryOrCachedAreRejected) {
  EXPECT_FALSE(
      Accepts(ArtistScope("Album only"), "200 rock 0c01a202\r\nDTITLE=Album only\r\n.\r\n"));
  EXPECT_FALSE(Accepts(ArtistScope("x"), "200 rock 0c01a202\r\n.\r\n"));
  EXPECT_FALSE(Accepts("ALL", "300 cached 0c01a202\r\n.\r\n"));
  EXPECT_FALSE(Accepts("ALL", "200\r\n.\r\n"));
  // Only the exact word "cached" marks a cached entry.
  EXPECT_TRUE(Accepts("ALL", "200 Cached 0c01a202\r\n.\r\n"));
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

}  // namespace
}  // namespace zcd
