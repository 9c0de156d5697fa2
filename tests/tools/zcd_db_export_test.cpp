#include <gtest/gtest.h>

#include <filesystem>

#include "discdb/database.h"
#include "discdb/export_run.h"
#include "discdb/exporter_cdplayer_ini.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/exporter_raw_cddb.h"
#include "tools/zcd_db_test_support.h"

namespace zcd::test {
namespace {

class ZcdDbExportTest : public ZcdDbTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", rock_), 1);
    ASSERT_EQ(DbAddEntry(db(), "jazz/11111111", jazz_), 1);
  }
  std::string Formatted(Exporter& exporter, uint32_t options, const std::string& scope,
                        const std::string& entry) {
    exporter.ReadOptions(options);
    exporter.set_scope(scope);
    return exporter.FormatEntry(entry).value_or("");
  }

  const std::string rock_ = ToolEntry("rock", "0c01a202", "Band / First");
  const std::string jazz_ = ToolEntry("jazz", "11111111", "Trio / Second");
};

TEST_F(ZcdDbExportTest, EveryFormatWithItsDefaultFileName) {
  ASSERT_EQ(Run({"export", "plain"}).status, 0);
  PlainTextExporter plain;
  EXPECT_EQ(dir_.Read("work/zcd_export.txt"),
            Formatted(plain, PlainTextExporter::kAllOptions, "ALL", rock_) +
                Formatted(plain, PlainTextExporter::kAllOptions, "ALL", jazz_));

  ASSERT_EQ(Run({"export", "raw", "--disc", "11111111"}).status, 0);
  RawCddbExporter raw;
  EXPECT_EQ(dir_.Read("work/zcd_rawformat.txt"),
            Formatted(raw, RawCddbExporter::kAllOptions, "ALL", jazz_));

  // cdplayer.ini sections go to their own file; the player's cdplayer.ini is left alone.
  ASSERT_EQ(Run({"export", "ini", "--artist", "band"}).status, 0);
  CdPlayerIniExporter ini(home());
  EXPECT_EQ(dir_.Read("work/zcd_iniformat.txt"),
            Formatted(ini, CdPlayerIniExporter::kDifferentFileName, "ALL", rock_));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("home/cdplayer.ini")));

  ASSERT_EQ(Run({"export", "plain", "--category", "jazz", "-o", dir_.File("jazz.txt")}).status, 0);
  EXPECT_EQ(dir_.Read("jazz.txt"), Formatted(plain, PlainTextExporter::kAllOptions, "ALL", jazz_));
  EXPECT_FALSE(std::filesystem::exists(work("zcd_category.txt")));
}

TEST_F(ZcdDbExportTest, FailuresExitNonZero) {
  const ToolRun no_db = Run({"--db", dir_.File("missing.zdb"), "export", "raw"});
  EXPECT_EQ(no_db.status, 1);
  EXPECT_NE(no_db.err.find("missing.zdb"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(work("zcd_rawformat.txt")));
  const std::string before = dir_.Read("home/ZCD.zdb");
  EXPECT_EQ(Run({"export", "raw", "-o", db()}).status, 1);
  EXPECT_EQ(dir_.Read("home/ZCD.zdb"), before);
}

}  // namespace
}  // namespace zcd::test
