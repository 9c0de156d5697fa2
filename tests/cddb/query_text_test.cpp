#include "cddb/query_text.h"

#include <gtest/gtest.h>

#include "cddb/cddb_test_servers.h"
#include "discdb/disc_id.h"

namespace zcd {
namespace {

TEST(QueryTextTest, QueryAndReadCommandsForCddbpAndHttp) {
  const DiscTiming timing = test::TwoTracks();
  const std::string id = DiscIdText(ComputeCddbDiscId(timing));
  ASSERT_EQ(id.size(), 8u);
  const std::string query = QueryCommand(timing);
  EXPECT_EQ(query, "cddb query " + id + " 2 150 9000 180\r\n");
  EXPECT_EQ(HttpCommand(query), "cddb+query+" + id + "+2+150+9000+180");
  EXPECT_EQ(ReadCommand("rock", "0c01a202"), "cddb read rock 0c01a202\r\n");
}

TEST(QueryTextTest, RepliesLeadToTheEntryToReadOrToNothing) {
  const std::string inexact =
      "211 Found inexact matches, list follows (until terminating `.')\r\n"
      "rock 0c01a202 Artist / Album\r\n"
      "jazz 0c01a203 Other / Record\r\n"
      "misc 0c01a204 Third / Try\r\n"
      ".\r\n";
  EXPECT_EQ(ParseMatches(inexact), (std::vector<CddbMatch>{{"rock", "0c01a202", "Artist / Album"},
                                                           {"jazz", "0c01a203", "Other / Record"},
                                                           {"misc", "0c01a204", "Third / Try"}}));
  int asked = 0;
  const auto pick = [&asked](int index) {
    return [&asked, index](std::string_view) {
      ++asked;
      return index;
    };
  };
  EXPECT_EQ(JudgeQueryReply("200 rock 0c01a202 Artist / Album\r\n", pick(5)),
            (ReadTarget{"rock", "0c01a202"}));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(JudgeQueryReply(inexact, pick(1)), (ReadTarget{"jazz", "0c01a203"}));
  EXPECT_EQ(JudgeQueryReply(inexact, pick(-1)), std::nullopt);
  EXPECT_EQ(JudgeQueryReply(inexact, pick(7)), std::nullopt);  // past the list
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(JudgeQueryReply("202 No match for disc ID 0c01a202.\r\n", pick(0)), std::nullopt);
  // An HTTP error page is judged by its first three characters too.
  EXPECT_EQ(JudgeQueryReply("<html>407 Proxy Authentication Required</html>", pick(0)),
            std::nullopt);
}

TEST(QueryTextTest, TheDefaultServerOrElseTheFirstBecomesIt) {
  std::vector<ServerEntry> list{{"a", 888, 0, "", "CDDBP", "-"},
                                {"b", 80, 1, "", "HTTP", "/~cddb/cddb.cgi"}};
  EXPECT_EQ(ChooseServer(list)->host, "b");
  list[1].is_default = 0;
  EXPECT_EQ(ChooseServer(list)->host, "a");
  EXPECT_EQ(list[0].is_default, 1);
  std::vector<ServerEntry> none;
  EXPECT_EQ(ChooseServer(none), std::nullopt);

  // The running settings show the choice on the Servers page; a marked
  // default stays where it is.
  Settings settings;
  settings.Server = {"a 888 CDDBP - 0 First.", "b 80 HTTP /~cddb/cddb.cgi 0 Second."};
  settings.NumServers = 2;
  MarkFirstServerDefault(settings);
  EXPECT_EQ(settings.Server[0], "a 888 CDDBP - 1 First.");
  settings.Server = {"a 888 CDDBP - 0 First.", "b 80 HTTP /~cddb/cddb.cgi 1 Second."};
  MarkFirstServerDefault(settings);
  EXPECT_EQ(settings.Server[0], "a 888 CDDBP - 0 First.");
}

}  // namespace
}  // namespace zcd
