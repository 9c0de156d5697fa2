#include "cddb/server_list.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

TEST(ServerListTest, LinesReadBackAsWrittenAndDamagedOnesGiveEmptyFields) {
  struct Case {
    std::string line;
    ServerEntry want;
  };
  const Case cases[] = {
      {"srvhost 888 CDDBP - 1 Santa Clara, CA USA.",
       {"srvhost", 888, 1, "Santa Clara, CA USA", "CDDBP", "-"}},
      {"srvhost  80   HTTP /~cddb/cddb.cgi 0 St. Louis, MO.",
       {"srvhost", 80, 0, "St", "HTTP", "/~cddb/cddb.cgi"}},
      {"srvhost x8 CDDBP", {"srvhost", 0, 0, "", "CDDBP", ""}},
      {"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseServerLine(c.line), c.want) << c.line;
  }
  // Longer than any fixed buffer: read whole.
  const std::string host(150, 'h');
  EXPECT_EQ(ParseServerLine(host + " 888 CDDBP - 0 Far.").host, host);
  EXPECT_EQ(FormatServerLine(ParseServerLine(cases[0].line)), cases[0].line);
}

TEST(ServerListTest, MissingKeysReadAsPlaceholdersThePageLeavesOut) {
  Settings settings;
  settings.NumServers = 2;
  settings.Server = {"srvhost 888 CDDBP - 1 Here.", std::nullopt};
  const std::vector<ServerEntry> list = ReadServerList(settings);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].host, kMissingServerHost);
  const std::vector<ServerRow> rows = RowsOf(list);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (ServerRow{"srvhost", "888", "CDDBP", true, "Here"}));
}

TEST(ServerListTest, RowsAreStoredAsLinesAndWrittenAsASectionOfTheirOwn) {
  Settings settings;
  const std::vector<ServerRow> rows{{"srvhost/~cddb/cddb.cgi", "80", "HTTP", false, "Over there"},
                                    {"cddbp.example", "8880", "CDDBP", true, "Here"}};
  const std::vector<ServerEntry> list = StoreServers(rows, settings);
  EXPECT_EQ(list[0], (ServerEntry{"srvhost", 80, 0, "Over there", "HTTP", "/~cddb/cddb.cgi"}));
  EXPECT_EQ(RowsOf(list), rows);

  IniFile file = IniFile::Parse("[Servers]\nNumServers=5\nServer4=old 1 CDDBP - 0 Old.\n");
  WriteServers(settings, file);
  EXPECT_EQ(file.GetInt(kServersSection, "NumServers", 0), 2);
  EXPECT_EQ(file.GetString(kServersSection, "Server0"),
            "srvhost 80 HTTP /~cddb/cddb.cgi 0 Over there.");
  EXPECT_EQ(file.GetString(kServersSection, "Server1"), "cddbp.example 8880 CDDBP - 1 Here.");
  EXPECT_EQ(file.GetString(kServersSection, "Server4"), std::nullopt);
}

TEST(ServerListTest, TheDefaultIsChosenAndPassesOnWhenItsRowGoes) {
  const std::vector<ServerRow> three{{"a", "888", "CDDBP", true, ""},
                                     {"b/~cddb/cddb.cgi", "80", "HTTP", false, ""},
                                     {"c", "888", "CDDBP", false, ""}};
  const auto default_of = [](const std::vector<ServerRow>& rows) {
    std::string names;
    for (const ServerRow& row : rows)
      names += row.is_default ? row.name.substr(0, 1) : "";
    return names;
  };
  std::vector<ServerRow> rows = three;
  EXPECT_TRUE(SetDefaultServer(rows, 2, false, false));
  EXPECT_EQ(default_of(rows), "c");
  EXPECT_FALSE(SetDefaultServer(rows, std::nullopt, false, false));
  EXPECT_TRUE(SetDefaultServer(rows, std::nullopt, true, true));  // the first HTTP row
  EXPECT_EQ(default_of(rows), "b");
  EXPECT_TRUE(SetDefaultServer(rows, std::nullopt, true, false));
  EXPECT_EQ(default_of(rows), "a");

  rows = three;
  DeleteRows(rows, {0});
  EXPECT_EQ(default_of(rows), "b");
  rows = three;
  rows[0].is_default = false;
  rows[2].is_default = true;
  DeleteRows(rows, {2, 0});
  EXPECT_EQ(rows.size(), 1u);
  EXPECT_EQ(default_of(rows), "");
}

TEST(ServerListTest, SitesAddNewServersButNoMailSitesAndNoneTwice) {
  std::vector<ServerRow> rows{{"gnudb.gnudb.org", "8880", "CDDBP", true, ""}};
  const std::string reply =
      "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"
      "210 OK, site information follows (until terminating `.')\r\n"
      "gnudb.gnudb.org cddbp 8880 - N000.00 W000.00 Already listed\r\n"
      "gnudb.gnudb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 Random gnudb server\r\n"
      "gnudb.gnudb.org smtp 25 - N000.00 W000.00 Submissions by mail\r\n"
      "gnudb.gnudb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 The same again\r\n"
      ".\r\n"
      "after.example cddbp 888 - N0 W0 Past the end\r\n";
  EXPECT_EQ(AddSites(rows, reply), 1);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1], (ServerRow{"gnudb.gnudb.org/~cddb/cddb.cgi", "80", "HTTP", false,
                                "Random gnudb server"}));
}

TEST(ServerListTest, ARepliedErrorPageAddsNoSites) {
  // Six words a line would read as a site if the status were not judged.
  const std::string line = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" \"dtd\">\r\n";
  for (const std::string& reply :
       {"HTTP/1.0 407 Proxy Authentication Required\r\nContent-Type: text/html\r\n\r\n"
        "<?xml version=\"1.0\" ?>\r\n" +
            line + ".\r\n",
        "401 No site information available.\r\n" + line + ".\r\n"}) {
    std::vector<ServerRow> rows;
    EXPECT_EQ(AddSites(rows, reply), 0) << reply;
    EXPECT_TRUE(rows.empty());
  }
}

}  // namespace
}  // namespace zcd
