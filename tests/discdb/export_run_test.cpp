#include "discdb/export_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "discdb/database.h"
#include "discdb/exporter_cdplayer_ini.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/exporter_raw_cddb.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

std::string Entry(const std::string& category, const std::string& id, const std::string& title) {
  return "200 " + category + " " + id +
         "\r\n# xmcd CD database file\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t4650\r\n"
         "#\r\n# Disc length: 200 seconds\r\n#\r\nDISCID=" +
         id + "\r\nDTITLE=" + title + "\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=\r\n.\r\n";
}

class ExportRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DbAddEntry(db_, "rock/0c01a202", rock_), 1);
    ASSERT_EQ(DbAddEntry(db_, "cached/11111111", Entry("cached", "11111111", "C / D")), 1);
    ASSERT_EQ(DbAddEntry(db_, "jazz/22222222", jazz_), 1);
  }

  std::string Raw(const std::string& entry) const {
    RawCddbExporter exporter;
    exporter.ReadOptions(RawCddbExporter::kAllOptions);
    exporter.set_scope("ALL");
    return *exporter.FormatEntry(entry);
  }

  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
  const std::string rock_ = Entry("rock", "0c01a202", "Band / First");
  const std::string jazz_ = Entry("jazz", "22222222", "band / Second");
};

TEST_F(ExportRunTest, WritesEveryAcceptedEntryInIndexOrderReplacingTheFile) {
  dir_.Write("out.txt", "old content that must go");
  RawCddbExporter exporter;
  exporter.ReadOptions(RawCddbExporter::kAllOptions);
  exporter.set_scope("ALL");
  exporter.set_file_name(dir_.File("out.txt"));
  std::string error;
  ASSERT_TRUE(DbForEachEntry(db_, exporter, &error)) << error;
  EXPECT_EQ(dir_.Read("out.txt"), Raw(rock_) + Raw(jazz_));

  exporter.set_scope(CategoryScope("JAZZ"));
  ASSERT_TRUE(DbForEachEntry(db_, exporter));
  EXPECT_EQ(dir_.Read("out.txt"), Raw(jazz_));
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

TEST_F(ExportRunTest, FailuresLeaveTheOutputAndTheDatabaseAlone) {
  PlainTextExporter exporter;
  exporter.ReadOptions(PlainTextExporter::kAllOptions);
  exporter.set_scope("ALL");
  dir_.Write("keep.txt", "keep me");
  exporter.set_file_name(dir_.File("keep.txt"));
  std::string error;

  EXPECT_FALSE(DbForEachEntry(dir_.File("missing.zdb"), exporter, &error));
  EXPECT_NE(error.find("missing.zdb"), std::string::npos);
  dir_.Write("text.zdb", "not a database at all");
  EXPECT_FALSE(DbForEachEntry(dir_.File("text.zdb"), exporter, &error));
  EXPECT_EQ(dir_.Read("keep.txt"), "keep me");

  const std::string before = dir_.Read("ZCD.zdb");
  exporter.set_file_name(db_);
  EXPECT_FALSE(DbForEachEntry(db_, exporter, &error));
  std::filesystem::create_hard_link(db_, dir_.File("alias.txt"));
  exporter.set_file_name(dir_.File("alias.txt"));
  EXPECT_FALSE(DbForEachEntry(db_, exporter, &error));
  EXPECT_EQ(dir_.Read("ZCD.zdb"), before);

  exporter.set_file_name(dir_.File("no/such/folder/out.txt"));
  EXPECT_FALSE(DbForEachEntry(db_, exporter, &error));
  EXPECT_NE(error.find("out.txt"), std::string::npos);
  exporter.set_scope("");
  exporter.set_file_name(dir_.File("out.txt"));
  EXPECT_FALSE(DbForEachEntry(db_, exporter, &error));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.txt")));
}

TEST_F(ExportRunTest, DamagedDatabaseIsReported) {
  std::string bytes = dir_.Read("ZCD.zdb");
  const auto index = static_cast<size_t>(static_cast<unsigned char>(bytes[4]) |
                                         static_cast<unsigned char>(bytes[5]) << 8);
  // The second row's text offset now points beyond the index.
  bytes.replace(index + kDbRowSize + kDbKeyField, 4, "\xff\xff\xff\x7f", 4);
  dir_.Write("ZCD.zdb", bytes);
  RawCddbExporter exporter;
  exporter.set_scope("ALL");
  exporter.set_file_name(dir_.File("out.txt"));
  std::string error;
  EXPECT_FALSE(DbForEachEntry(db_, exporter, &error));
  EXPECT_NE(error.find("damaged"), std::string::npos);
}

TEST_F(ExportRunTest, WriteErrorsAreReported) {
  if (!std::filesystem::exists("/dev/full"))
    GTEST_SKIP() << "no /dev/full";
  PlainTextExporter exporter;
  exporter.ReadOptions(PlainTextExporter::kAllOptions);
  exporter.set_scope("ALL");
  exporter.set_file_name("/dev/full");
  std::string error;
  EXPECT_FALSE(DbForEachEntry(db_, exporter, &error));
  EXPECT_NE(error.find("/dev/full"), std::string::npos) << error;
}

}  // namespace
}  // namespace zcd
