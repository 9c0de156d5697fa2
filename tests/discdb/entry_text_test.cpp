#include "discdb/entry_text.h"

#include <gtest/gtest.h>

#include <random>

namespace zcd {
namespace {

using Opt = std::optional<std::string>;

TEST(EntryValueTest, GetGathersTheKeysLines) {
  const struct {
    const char* key;
    std::string text;
    Opt value;
  } cases[] = {
      // Continuation lines, keeping their blanks.
      {"DTITLE=",
       "200 rock x\r\nDTITLE=Some Artist / A Very\r\nDTITLE= Long Album\r\nTTITLE0=One\r\n",
       "Some Artist / A Very Long Album"},
      // Bare line feeds; only one carriage return is dropped.
      {"EXTD=", "EXTD=a\nEXTD=b\r\r\n", "ab\r"},
      {"EXTD=", "EXTD=\r\n", ""},
      // A shorter track key does not pick up a longer one.
      {"TTITLE1=", "TTITLE11=Eleven\r\nTTITLE1=One\r\nTTITLE10=Ten\r\n", "One"},
      {"TTITLE11=", "TTITLE11=Eleven\r\nTTITLE1=One\r\nTTITLE10=Ten\r\n", "Eleven"},
      {"TTITLE2=", "TTITLE11=Eleven\r\nTTITLE1=One\r\nTTITLE10=Ten\r\n", std::nullopt},
      // Only where it begins a line: key text inside a value is the value's.
      {"TTITLE1=", "XTTITLE1=a TTITLE1=b\r\nTTITLE1=c\r\n", "c"},
      {"TTITLE0=", "TTITLE1=Say TTITLE0=x\r\nTTITLE0=Real\r\n", "Real"},
      {"EXTD=", "DTITLE=A / EXTD=B\r\n", std::nullopt},
      // Lines of the key further on count too.
      {"TTITLE3=", "TTITLE3=a\r\nTTITLE4=b\r\nTTITLE3=far\r\n", "afar"},
      {"DTITLE=", "", std::nullopt},
      {"", "DTITLE=x\r\n", std::nullopt},
      {"dtitle=", "DTITLE=x\r\n", std::nullopt},
      // One unterminated piece spoils the whole value.
      {"DTITLE=", "DTITLE=a\r\nDTITLE=b", std::nullopt},
      {"DTITLE=", "DTITLE=", std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(GetEntryValue(c.key, c.text), c.value) << c.key << " in " << c.text;
}

TEST(EntryValueTest, SetReplacesTheKeysLinesOrRefuses) {
  const struct {
    const char* key;
    Opt value;
    std::string text;
    Opt after;  // none: refused, text unchanged
  } cases[] = {
      // Only directly following lines are replaced; the later one still counts.
      {"TTITLE3=", std::string(150, 'x'),
       "DISCID=0\r\nTTITLE3=old\r\nTTITLE3= more old\r\nTTITLE4=Four\r\nTTITLE3=far\r\n.\r\n",
       "DISCID=0\r\nTTITLE3=" + std::string(71, 'x') + "\r\nTTITLE3=" + std::string(71, 'x') +
           "\r\nTTITLE3=" + std::string(8, 'x') + "\r\nTTITLE4=Four\r\nTTITLE3=far\r\n.\r\n"},
      // None or empty leaves the bare key.
      {"PLAYORDER=", std::nullopt, "A\r\nPLAYORDER=1,2,3\nPLAYORDER=4\r\n.\r\n",
       "A\r\nPLAYORDER=\r\n.\r\n"},
      {"PLAYORDER=", "", "A\r\nPLAYORDER=1\r\n.\r\n", "A\r\nPLAYORDER=\r\n.\r\n"},
      // An unterminated continuation line is replaced too.
      {"DTITLE=", "c", "DTITLE=a\r\nDTITLE=b", "DTITLE=c\r\n"},
      {"EXTD=", "y", "DTITLE=x\r\n.\r\n", std::nullopt},
      // Key text inside another key's value is left alone.
      {"TTITLE0=", "New", "TTITLE1=Say TTITLE0=x\r\nTTITLE0=Old\r\n",
       "TTITLE1=Say TTITLE0=x\r\nTTITLE0=New\r\n"},
      {"DTITLE=", "y", "DTITLE=x", std::nullopt},
      {"DTITLE=", "y", "", std::nullopt}};
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(SetEntryValue(c.key, c.value, text), c.after.has_value())
        << c.key << " in " << c.text;
    EXPECT_EQ(text, c.after.value_or(c.text));
  }
}

TEST(EntryValueTest, SetLinesNeverExceed79Characters) {
  for (const std::string key : {"DTITLE=", "TTITLE42=", "EXTT99=", "PLAYORDER="}) {
    for (std::size_t length : {0u, 1u, 78u, 79u, 200u}) {
      std::string text = "head\r\n" + key + "old\r\n.\r\n";
      const std::string value(length, 'v');
      ASSERT_TRUE(SetEntryValue(key, value, text));
      EXPECT_EQ(GetEntryValue(key, text), value);
      std::size_t start = 0;
      for (std::size_t crlf = text.find("\r\n"); crlf != std::string::npos;
           crlf = text.find("\r\n", start)) {
        EXPECT_LE(crlf - start, 79u) << key << length;
        start = crlf + 2;
      }
      EXPECT_TRUE(text.ends_with("\r\n.\r\n"));
    }
  }
}

TEST(HeadFieldTest, CategoryAndIdentifierOfTheNthLine) {
  const std::string reply =
      "211 Found inexact matches, list follows\r\nrock 0c01a202 Artist / Album\r\n"
      "misc 0a0b0c0d Other\n.\r\n";
  const struct {
    std::string text;
    int n;
    Opt category, id;
  } cases[] = {{reply, 2, "rock", "0c01a202"},
               {reply, 3, "misc", "0a0b0c0d"},
               {reply, 4, std::nullopt, std::nullopt},
               {reply, 9, std::nullopt, std::nullopt},
               {"200 newage 00000000\r\nDTITLE=x y z\r\n", 1, "newage", "00000000"},
               {"200 rock 0c01a202 Artist / Album\r\n", 1, "rock", "0c01a202"},
               // The blanks must be on the line asked for, not on a later one.
               {"200 rock\r\nDTITLE=A B\r\n", 1, std::nullopt, std::nullopt},
               {"200 rock 0c01a2\r\nDTITLE=A B\r\n", 1, "rock", std::nullopt},
               {"200 rock 0c01a20", 1, "rock", std::nullopt},
               {"x\r\nnoblank\r\n", 2, std::nullopt, std::nullopt},
               {"", 1, std::nullopt, std::nullopt},
               {"200 a b", 0, std::nullopt, std::nullopt},
               {"200  0c01a202\r\n", 1, "", "0c01a202"}};
  for (const auto& c : cases) {
    EXPECT_EQ(HeadCategory(c.text, c.n), c.category) << c.n << " of " << c.text;
    EXPECT_EQ(HeadDiscId(c.text, c.n), c.id) << c.n << " of " << c.text;
  }
}

TEST(LineBreakEscapeTest, SwapsBothWaysInOnePassAndTwiceGivesBackTheOriginal) {
  std::string text = "a\\nb\r\nc\\\\n\r\r\n";
  ToggleLineBreakEscapes(text);
  EXPECT_EQ(text, "a\r\nb\\nc\\\r\n\r\\n");
  std::string lone = "\r \n \\ n\r";
  ToggleLineBreakEscapes(lone);
  EXPECT_EQ(lone, "\r \n \\ n\r");

  // Random texts over the characters that matter, including awkward runs
  // such as backslash before CR LF.
  std::mt19937 random(7);
  const char alphabet[] = {'\\', 'n', '\r', '\n', 'a'};
  std::uniform_int_distribution<int> pick(0, 4);
  for (int round = 0; round < 2000; ++round) {
    std::string original;
    for (int i = round % 17; i > 0; --i)
      original.push_back(alphabet[pick(random)]);
    std::string toggled = original;
    ToggleLineBreakEscapes(toggled);
    ToggleLineBreakEscapes(toggled);
    ASSERT_EQ(toggled, original);
  }
}

TEST(SmallTextTest, BlanksReplyHeadsRevisionAndDiscLength) {
  std::string text = " Hard  Rock ";
  ReplaceBlanks(text, '_');
  EXPECT_EQ(text, "_Hard__Rock_");

  // The head ends at the first CR LF blank line, else at the first LF one.
  EXPECT_EQ(SkipReplyHead("HTTP/1.0 200 OK\r\nA: b\r\n\r\n200 rock x\n\n"), "200 rock x\n\n");
  EXPECT_EQ(SkipReplyHead("HTTP/1.0 200 OK\nA: b\n\n210 ok\r\n"), "210 ok\r\n");
  EXPECT_EQ(SkipReplyHead("201 no head\r\n"), "201 no head\r\n");
  EXPECT_EQ(SkipReplyHead("head\r\n\r\n"), "");
  EXPECT_EQ(SkipReplyHead(""), "");

  const std::pair<const char*, int> revisions[] = {{"#\r\n# Revision: 3\r\n", 3},
                                                   {"# Revision:\t 12x\r\n", 12},
                                                   {"# Revision:\r\n# Submitted via: 5\r\n", -1},
                                                   {"# Revision:   ", -1},
                                                   {"# Revision", -1},
                                                   {"", -1},
                                                   {"# Revision: 99999999999999\r\n", 2147483647}};
  for (const auto& [comment, revision] : revisions)
    EXPECT_EQ(EntryRevision(comment), revision) << comment;
  EXPECT_EQ(EntryDiscSeconds("# Disc length: 2400 seconds\r\n"), 2400);
  EXPECT_EQ(EntryDiscSeconds("# Disc length:\r\n"), 0);
  EXPECT_EQ(EntryDiscSeconds("DTITLE=x\r\n"), 0);
}

}  // namespace
}  // namespace zcd
