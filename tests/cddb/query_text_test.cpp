#include "cddb/query_text.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

TEST(QueryTextTest, MatchListsAndRepliesThatLeadToNothing) {
  const std::string inexact =
      "211 Found inexact matches, list follows (until terminating `.')\r\n"
      "rock 0c01a202 Artist / Album\r\n"
      "jazz 0c01a203 Other / Record\r\n"
      "misc 0c01a204 Third / Try\r\n"
      ".\r\n";
  EXPECT_EQ(ParseMatches(inexact), (std::vector<CddbMatch>{{"rock", "0c01a202", "Artist / Album"},
                                                           {"jazz", "0c01a203", "Other / Record"},
                                                           {"misc", "0c01a204", "Third / Try"}}));
  // The exact match, a pick and no match are shown through the whole query.
  const auto pick = [](int index) { return [index](std::string_view) { return index; }; };
  EXPECT_EQ(JudgeQueryReply(inexact, pick(7)), std::nullopt);  // past the list
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
