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
#include "tools/zcd_db_run.h"

namespace zcd::test {
namespace {

// A home folder for zcd-db holding two entries, and a working folder to run it in.
class ZcdDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.File("home"));
    std::filesystem::create_directories(dir_.File("work"));
    ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", rock_), 1);
    ASSERT_EQ(DbAddEntry(db(), "jazz/11111111", jazz_), 1);
  }

  ToolRun Run(const std::vector<std::string>& args) const { return RunZcdDb(dir_, args); }

  std::string home() const { return dir_.File("home"); }
  std::string db() const { return dir_.File("home/ZCD.zdb"); }
  std::string work(const std::string& name) const { return dir_.File("work/" + name); }
  void Write(const std::string& name, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(dir_.File(name)).parent_path());
    dir_.Write(name, content);
  }
  // What an exporter makes of an entry.
  static std::string Formatted(Exporter&& exporter, uint32_t options, const std::string& entry) {
    exporter.ReadOptions(options);
    exporter.set_scope("ALL");
    return exporter.FormatEntry(entry).value_or("");
  }

  TempDir dir_;
  const std::string rock_ = SampleEntryText("rock", "0c01a202", "Band / First");
  const std::string jazz_ = SampleEntryText("jazz", "11111111", "Trio / Second");
};

// Each command line, its exit status, its whole standard output (unless
// none is given) and a piece of its standard error, which only failures write.
TEST_F(ZcdDbTest, ReadingCommandsAndUnusableCommandLines) {
  dir_.Write("notes.zdb", "just notes");
  const struct {
    std::vector<std::string> args;
    int status;
    std::optional<std::string> out;
    const char* err;
  } runs[] = {
      {{"list"}, 0, "rock/0c01a202\tBand / First\njazz/11111111\tTrio / Second\n", ""},
      {{"list", "--category", "JAZZ"}, 0, "jazz/11111111\tTrio / Second\n", ""},
      {{"show", "11111111"}, 0, jazz_, ""},
      {{"show", "rock/11111111"}, 1, "", "rock/11111111"},
      // Tracks at 0:02.00 and 3:10.00, lead-out at 7:00.00.
      {{"discid", "150", "14250", "31500"},
       0,
       "CDDB disc id: 0c01a202\ncdplayer.ini key: 3870C\n",
       ""},
      {{"--db", dir_.File("notes.zdb"), "list"}, 1, "", "not a ZCD database"},
      {{"--db", dir_.File("notes.zdb"), "check"}, 1, "", "notes.zdb' is not a ZCD database"},
      {{"--db", dir_.File("missing.zdb"), "list"}, 1, "", "missing.zdb' does not exist"},
      {{"check"}, 0, db() + ": no damage found\n", ""},
      {{"--help"}, 0, std::nullopt, ""},
      {{}, 2, "", "zcd-db: "},
      {{"frobnicate"}, 2, "", "zcd-db: "},
      {{"list", "--bogus"}, 2, "", "zcd-db: "},
      {{"list", "--artist", "x"}, 2, "", "zcd-db: "},
      {{"export", "pdf"}, 2, "", "zcd-db: "},
      {{"export", "plain", "--category", "a", "--disc", "b"}, 2, "", "zcd-db: "},
      {{"import", "x.zdb", "--rule", "ask"}, 2, "", "zcd-db: "},
      {{"show"}, 2, "", "zcd-db: "},
      {{"discid", "150"}, 2, "", "zcd-db: "},
      {{"discid", "150", "100"}, 2, "", "zcd-db: "},
      {{"discid", "15x", "31500"}, 2, "", "zcd-db: "}};
  for (const auto& c : runs) {
    SCOPED_TRACE(c.args.empty() ? "" : c.args.back());
    const ToolRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out.value_or(run.out));
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.err.empty(), c.status == 0) << run.err;
    EXPECT_TRUE(c.status == 0 || run.err.starts_with("zcd-db: ")) << run.err;
  }
  EXPECT_TRUE(Run({"--help"}).out.starts_with("Usage: zcd-db"));
  // A damaged database.
  dir_.Write("home/ZCD.zdb", WithRowField(dir_.Read("home/ZCD.zdb"), 1, 0, 0x7fffffff));
  const ToolRun damaged = Run({"check"});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_TRUE(damaged.out.starts_with(db() + ": Row 2: ")) << damaged.out;
}

// A database named with --db that nobody has written through a lock: every
// reading command, and a reading command pointed at a file that is not
// there, leaves the folder as it was.
TEST_F(ZcdDbTest, ReadingADatabaseElsewhereCreatesNoFiles) {
  std::filesystem::create_directories(dir_.File("solo"));
  std::filesystem::copy_file(db(), dir_.File("solo/copy.zdb"));
  const std::string copy = dir_.File("solo/copy.zdb");
  const std::vector<std::vector<std::string>> runs = {
      {"--db", copy, "list"},
      {"--db", copy, "show", "jazz"},
      {"--db", copy, "check"},
      {"--db", copy, "export", "raw", "-o", "-"},
      {"--db", dir_.File("solo/missing.zdb"), "list"},
      {"--db", dir_.File("solo/missing.zdb"), "export", "plain", "-o", dir_.File("export.txt")},
  };
  for (const auto& args : runs)
    Run(args);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.File("solo")))
    files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"copy.zdb"});
  EXPECT_FALSE(std::filesystem::exists(dir_.File("export.txt")));
}

// Arguments and output in UTF-8, the database and exported files in Windows-1252.
TEST_F(ZcdDbTest, TheTerminalSpeaksUtf8AndExportsKeepTheirBytes) {
  ASSERT_EQ(DbAddEntry(db(), "latin/22222222",
                       SampleEntryText("latin", "22222222", "Caf\xe9 Tacvba / \x80 Re")),
            1);
  const std::string utf8_title = "Caf\xc3\xa9 Tacvba / \xe2\x82\xac Re";
  EXPECT_TRUE(Run({"list", "--category", "latin"}).out == "latin/22222222\t" + utf8_title + "\n");
  EXPECT_NE(Run({"show", "22222222"}).out.find("DTITLE=" + utf8_title + "\r\n"), std::string::npos);

  const ToolRun found = Run({"export", "plain", "--artist", "caf\xc3\xa9 tacvba"});
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.out, "Exported 1 entry to " + work("zcd_artist.txt") + "\n");
  EXPECT_EQ(found.err, "");
  const std::string exported = dir_.Read("work/zcd_artist.txt");
  EXPECT_NE(exported.find("Caf\xe9 Tacvba"), std::string::npos);
  EXPECT_EQ(exported.find("\xc3"), std::string::npos);

  // Nothing matched: said on standard error, and still no failure.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"export", "plain", "--artist", "Nobody"},
        std::vector<std::string>{"export", "raw", "--disc", "99999999", "-o", "-"}}) {
    const ToolRun none = Run(args);
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(none.err.starts_with("zcd-db: no entry matched")) << none.err;
  }
}

TEST_F(ZcdDbTest, ImportWithEitherRule) {
  const std::string other = dir_.File("other.zdb");
  ASSERT_EQ(DbAddEntry(other, "rock/0c01a202", SampleEntryText("rock", "0c01a202", "New / Title")),
            1);
  ASSERT_EQ(DbAddEntry(other, "blues/22222222", SampleEntryText("blues", "22222222", "A / B")), 1);

  const ToolRun keep = Run({"import", other, "--rule", "keep"});
  EXPECT_EQ(keep.status, 0);
  EXPECT_EQ(keep.out, "Imported 1 entry\nSkipped 1 entry\n");
  EXPECT_EQ(DbFindEntry(db(), "0c01a202"), rock_);

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
  EXPECT_FALSE(std::filesystem::exists(dir_.File("notes.txt-lock")));
}

TEST_F(ZcdDbTest, LongImportShowsProgressAndDamageIsReported) {
  const std::string other = dir_.File("other.zdb");
  {
    std::string error;
    auto session = DbSession::Open(other, &error);
    ASSERT_TRUE(session) << error;
    for (int i = 0; i < 25000; ++i) {
      char id[9];
      std::snprintf(id, sizeof id, "%08x", i);
      ASSERT_EQ(session->Add(std::string("misc/") + id, SampleEntryText("misc", id, "A / B")), 1);
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

TEST_F(ZcdDbTest, AddXmcdTreeConvertsTextsAndSkipsMalformedFiles) {
  std::filesystem::remove(db());
  // A dump file: no head line, LF line ends, UTF-8, no final ".".
  Write("dump/rock/0c01a202",
        "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t14250\n#\n# Disc length: 420 "
        "seconds\n#\nDISCID=0c01a202\nDTITLE=Mot\xc3\xb6rhead \xe2\x80\x93 \xe6\x97\xa5\n"
        "TTITLE0=Caf\xc3\xa9\nTTITLE1=\xe2\x82\xac\nEXTD=\nEXTT0=\nEXTT1=\nPLAYORDER=\n");
  // A file with its own head line wins over its folder.
  Write("dump/jazz/anything.txt",
        "210 blues 11111111 CD database entry follows\r\n# xmcd\r\nDISCID=11111111\r\n"
        "DTITLE=A / B\r\nTTITLE0=x\r\n.\r\n");
  Write("dump/README", "This archive holds CDDB entries.\n");
  // An older entry in ISO-8859-1 keeps its accents byte for byte.
  Write("dump/rock/22222222", "# xmcd\nDISCID=22222222\nDTITLE=Mot\xf6rhead / \xbfQu\xe9?\n");
  Write("dump/rock/33333333", "# xmcd\nDISCID=33333333\nTTITLE0=no disc title\n");

  const ToolRun run = Run({"add-xmcd", dir_.File("dump")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "Added 3 entries (0 replacing older ones), skipped 2 files\n");
  EXPECT_NE(run.err.find("README"), std::string::npos);
  EXPECT_NE(run.err.find("33333333': it has no DTITLE line"), std::string::npos) << run.err;
  EXPECT_EQ(DbFindEntry(db(), "rock/22222222"),
            "200 rock 22222222\r\n# xmcd\r\nDISCID=22222222\r\nDTITLE=Mot\xf6rhead / "
            "\xbfQu\xe9?\r\n.\r\n");
  EXPECT_EQ(DbFindEntry(db(), "rock/0c01a202"),
            "200 rock 0c01a202\r\n# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t14250\r\n"
            "#\r\n# Disc length: 420 seconds\r\n#\r\nDISCID=0c01a202\r\n"
            "DTITLE=Mot\xf6rhead \x96 ?\r\nTTITLE0=Caf\xe9\r\nTTITLE1=\x80\r\nEXTD=\r\n"
            "EXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n.\r\n");
  EXPECT_TRUE(DbHasEntry(db(), "blues/11111111"));

  const ToolRun again = Run({"add-xmcd", dir_.File("dump/rock/0c01a202")});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "Added 1 entry (1 replacing older ones), skipped 0 files\n");
  EXPECT_EQ(Run({"list"}).out,
            "blues/11111111\tA / B\nrock/22222222\tMot\xc3\xb6rhead / \xc2\xbfQu\xc3\xa9?\n"
            "rock/0c01a202\tMot\xc3\xb6rhead \xe2\x80\x93 ?\n");
}

TEST_F(ZcdDbTest, EveryFormatWithItsDefaultFileNameAndNeverOverTheDatabase) {
  EXPECT_EQ(Run({"export", "plain"}).out, "Exported 2 entries to " + work("zcd_export.txt") + "\n");
  EXPECT_EQ(dir_.Read("work/zcd_export.txt"),
            Formatted(PlainTextExporter(), PlainTextExporter::kAllOptions, rock_) +
                Formatted(PlainTextExporter(), PlainTextExporter::kAllOptions, jazz_));

  ASSERT_EQ(Run({"export", "raw", "--disc", "11111111"}).status, 0);
  EXPECT_EQ(dir_.Read("work/zcd_rawformat.txt"),
            Formatted(RawCddbExporter(), RawCddbExporter::kAllOptions, jazz_));

  // cdplayer.ini sections go to their own file; the player's cdplayer.ini is left alone.
  ASSERT_EQ(Run({"export", "ini", "--artist", "band"}).status, 0);
  const std::string ini =
      Formatted(CdPlayerIniExporter(home()), CdPlayerIniExporter::kDifferentFileName, rock_);
  EXPECT_EQ(dir_.Read("work/zcd_iniformat.txt"), ini);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("home/cdplayer.ini")));

  ASSERT_EQ(Run({"export", "plain", "--category", "jazz", "-o", dir_.File("jazz.txt")}).status, 0);
  EXPECT_EQ(dir_.Read("jazz.txt"),
            Formatted(PlainTextExporter(), PlainTextExporter::kAllOptions, jazz_));
  EXPECT_FALSE(std::filesystem::exists(work("zcd_category.txt")));

  // Exporting over the database fails and leaves it whole.
  const std::string before = dir_.Read("home/ZCD.zdb");
  EXPECT_EQ(Run({"export", "raw", "-o", db()}).status, 1);
  EXPECT_EQ(dir_.Read("home/ZCD.zdb"), before);
}

}  // namespace
}  // namespace zcd::test
