#include <gtest/gtest.h>

#include <filesystem>

#include "discdb/database.h"
#include "tools/zcd_db_test_support.h"

namespace zcd::test {
namespace {

class ZcdDbImportTest : public ZcdDbTest {
 protected:
  void WriteFile(const std::string& name, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(dir_.File(name)).parent_path());
    dir_.Write(name, content);
  }
};

TEST_F(ZcdDbImportTest, ImportWithEitherRule) {
  const std::string other = dir_.File("other.zdb");
  ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", ToolEntry("rock", "0c01a202", "Old / Title")), 1);
  ASSERT_EQ(DbAddEntry(other, "rock/0c01a202", ToolEntry("rock", "0c01a202", "New / Title")), 1);
  ASSERT_EQ(DbAddEntry(other, "jazz/11111111", ToolEntry("jazz", "11111111", "Trio / Disc")), 1);

  const ToolRun keep = Run({"import", other, "--rule", "keep"});
  EXPECT_EQ(keep.status, 0);
  EXPECT_EQ(keep.out, "Imported 1 entry\nSkipped 1 entry\n");
  EXPECT_NE(DbFindEntry(db(), "0c01a202")->find("Old / Title"), std::string::npos);

  const ToolRun overwrite = Run({"import", other});
  EXPECT_EQ(overwrite.out, "Imported 2 entries\nSkipped 0 entries\n");
  EXPECT_NE(DbFindEntry(db(), "0c01a202")->find("New / Title"), std::string::npos);

  EXPECT_EQ(Run({"import", dir_.File("missing.zdb")}).status, 1);
  // A local file that is not a database is refused and left as it is.
  dir_.Write("notes.txt", "notes");
  const ToolRun refused = Run({"--db", dir_.File("notes.txt"), "import", other});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("notes.txt"), std::string::npos);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(dir_.Read("notes.txt"), "notes");
}

TEST_F(ZcdDbImportTest, LongImportShowsProgressAndDamageIsReported) {
  const std::string other = dir_.File("other.zdb");
  {
    std::string error;
    auto session = DbSession::Open(other, &error);
    ASSERT_TRUE(session) << error;
    for (int i = 0; i < 25000; ++i) {
      char id[9];
      std::snprintf(id, sizeof id, "%08x", i);
      ASSERT_EQ(session->Add(std::string("misc/") + id, ToolEntry("misc", id, "A / B")), 1);
    }
    ASSERT_EQ(session->Commit(), 1);
  }
  const ToolRun run = Run({"import", other});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Imported 25000 entries\nSkipped 0 entries\n");
  EXPECT_NE(run.err.find("100% (25000 of 25000 rows)"), std::string::npos) << run.err;

  std::string bytes = dir_.Read("other.zdb");
  bytes.resize(bytes.size() - 64 * 10 - 3);
  dir_.Write("other.zdb", bytes);
  std::filesystem::remove(db());
  const ToolRun damaged = Run({"import", other});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_NE(damaged.err.find("It seems the ZCD database to import is corrupt."), std::string::npos);
  EXPECT_EQ(damaged.out, "Imported 24989 entries\nSkipped 0 entries\n");
}

TEST_F(ZcdDbImportTest, AddXmcdTreeConvertsTextsAndSkipsMalformedFiles) {
  // A dump file: no head line, LF line ends, UTF-8, no final ".".
  WriteFile("dump/rock/0c01a202",
            "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t14250\n#\n# Disc length: 420 "
            "seconds\n#\nDISCID=0c01a202\nDTITLE=Mot\xc3\xb6rhead \xe2\x80\x93 \xe6\x97\xa5\n"
            "TTITLE0=Caf\xc3\xa9\nTTITLE1=\xe2\x82\xac\nEXTD=\nEXTT0=\nEXTT1=\nPLAYORDER=\n");
  // A file with its own head line wins over its folder.
  WriteFile("dump/jazz/anything.txt",
            "210 blues 11111111 CD database entry follows\r\n# xmcd\r\nDISCID=11111111\r\n"
            "DTITLE=A / B\r\nTTITLE0=x\r\n.\r\n");
  WriteFile("dump/README", "This archive holds CDDB entries.\n");
  WriteFile("dump/rock/22222222", "# xmcd\nDISCID=22222222\nDTITLE=\xff\xfe bad\n");

  const ToolRun run = Run({"add-xmcd", dir_.File("dump")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "Added 2 entries (0 replacing older ones), skipped 2 files\n");
  EXPECT_NE(run.err.find("README"), std::string::npos);
  EXPECT_NE(run.err.find("22222222': it is not UTF-8 text"), std::string::npos) << run.err;
  EXPECT_EQ(DbFindEntry(db(), "rock/0c01a202"),
            "200 rock 0c01a202\r\n# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t14250\r\n"
            "#\r\n# Disc length: 420 seconds\r\n#\r\nDISCID=0c01a202\r\n"
            "DTITLE=Mot\xf6rhead \x96 ?\r\nTTITLE0=Caf\xe9\r\nTTITLE1=\x80\r\nEXTD=\r\n"
            "EXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n.\r\n");
  EXPECT_TRUE(DbHasEntry(db(), "blues/11111111"));

  const ToolRun again = Run({"add-xmcd", dir_.File("dump/rock/0c01a202")});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "Added 1 entry (1 replacing older ones), skipped 0 files\n");
  EXPECT_EQ(Run({"list"}).out, "blues/11111111\tA / B\nrock/0c01a202\tMot\xf6rhead \x96 ?\n");
}

}  // namespace
}  // namespace zcd::test
