#include <gtest/gtest.h>

#include "discdb/database.h"
#include "tools/zcd_db_test_support.h"

namespace zcd::test {
namespace {

class ZcdDbQueryTest : public ZcdDbTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(DbAddEntry(db(), "rock/0c01a202", ToolEntry("rock", "0c01a202", "Band / First")), 1);
    ASSERT_EQ(DbAddEntry(db(), "jazz/11111111", ToolEntry("jazz", "11111111", "Trio / Second")), 1);
  }
};

TEST_F(ZcdDbQueryTest, HelpAndUnusableCommandLines) {
  const ToolRun help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: zcd-db")) << help.out;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"list", "--bogus"},
                                             {"list", "--artist", "x"},
                                             {"export", "pdf"},
                                             {"export", "plain", "--category", "a", "--disc", "b"},
                                             {"import", "x.zdb", "--rule", "ask"},
                                             {"show"}}) {
    const ToolRun run = Run(args);
    EXPECT_EQ(run.status, 2) << args.size();
    EXPECT_TRUE(run.err.starts_with("zcd-db: ")) << run.err;
  }
}

TEST_F(ZcdDbQueryTest, ListAndShow) {
  EXPECT_EQ(Run({"list"}).out, "rock/0c01a202\tBand / First\njazz/11111111\tTrio / Second\n");
  EXPECT_EQ(Run({"list", "--category", "JAZZ"}).out, "jazz/11111111\tTrio / Second\n");
  const ToolRun show = Run({"show", "11111111"});
  EXPECT_EQ(show.status, 0);
  EXPECT_EQ(show.out, ToolEntry("jazz", "11111111", "Trio / Second"));
  const ToolRun missing = Run({"show", "rock/11111111"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("rock/11111111"), std::string::npos);
  // A database given by path, and one that is not a database.
  dir_.Write("notes.zdb", "just notes");
  const ToolRun not_db = Run({"--db", dir_.File("notes.zdb"), "list"});
  EXPECT_EQ(not_db.status, 1);
  EXPECT_NE(not_db.err.find("not a ZCD database"), std::string::npos);
}

TEST_F(ZcdDbQueryTest, CheckNamesDamage) {
  EXPECT_EQ(Run({"check"}).status, 0);
  std::string bytes = dir_.Read("home/ZCD.zdb");
  const auto index = static_cast<size_t>(static_cast<unsigned char>(bytes[4]) |
                                         static_cast<unsigned char>(bytes[5]) << 8);
  bytes.replace(index + kDbRowSize + kDbKeyField, 4, "\xff\xff\xff\x7f", 4);
  dir_.Write("home/ZCD.zdb", bytes);
  const ToolRun damaged = Run({"check"});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_FALSE(damaged.out.empty());
}

TEST_F(ZcdDbQueryTest, DiscIdFromFrameOffsets) {
  // Tracks at 0:02.00 and 3:10.00, lead-out at 7:00.00.
  const ToolRun run = Run({"discid", "150", "14250", "31500"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "0c01a202\n3870C\n");
  EXPECT_EQ(Run({"discid", "150"}).status, 2);
  EXPECT_EQ(Run({"discid", "150", "100"}).status, 2);
  EXPECT_EQ(Run({"discid", "15x", "31500"}).status, 2);
}

}  // namespace
}  // namespace zcd::test
