#include "cd/taskbar_text.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

TEST(TaskBarTextTest, Symbols) {
  const TaskBarValues song{"Artist / Album 100%", "Song", 3, 125};
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"ZCD: [%n - %t] %d", "ZCD: [3 - 2:05] Song"},
      {"%A|%D|%N|%T", "Artist / Album 100%|Song|3|2:05"},  // either case
      {"%x and %%", "%x and %%"},                          // not symbols: kept
      {"%d playing now", "Song playing now"},              // the tail is kept
      {"no symbols", "no symbols"},
      {"ends in %", "ends in %"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatTaskBarText(c.text, song), c.expected);
  }
  // No disc title or track title: the symbols expand to nothing.
  EXPECT_EQ(FormatTaskBarText("[%a][%d] %t", {std::nullopt, std::nullopt, 12, 3599}), "[][] 59:59");
}

TEST(TaskBarTextTest, TextIsCutAt255Characters) {
  const TaskBarValues values{std::string(300, 'a'), "b", 1, 0};
  EXPECT_EQ(FormatTaskBarText("%a%d", values), std::string(255, 'a'));
  EXPECT_EQ(FormatTaskBarText(std::string(300, 'x'), values).size(), 255u);
}

TEST(TaskBarTextTest, StoppedCaption) {
  EXPECT_EQ(StoppedCaption("Album", 100), "ZCD: Album");
  EXPECT_EQ(StoppedCaption(std::nullopt, 100), "ZCD");
  EXPECT_EQ(StoppedCaption(std::string(200, 'x'), 99).size(), 99u);
}

}  // namespace
}  // namespace zcd
