#include "discdb/entry_text.h"

#include <gtest/gtest.h>

#include <random>

namespace zcd {
namespace {

TEST(EntryValueTest, GathersContinuationLinesKeepingBlanks) {
  const std::string text =
      "200 rock 0c01a202\r\nDTITLE=Some Artist / A Very\r\nDTITLE= Long "
      "Album\r\nTTITLE0=One\r\n.\r\n";
  EXPECT_EQ(GetEntryValue("DTITLE=", text), "Some Artist / A Very Long Album");
  EXPECT_EQ(GetEntryValue("TTITLE0=", text), "One");
}

TEST(EntryValueTest, ReadsBareLineFeedsAndDropsOnlyOneCarriageReturn) {
  EXPECT_EQ(GetEntryValue("EXTD=", "EXTD=a\nEXTD=b\r\r\n"), "ab\r");
  EXPECT_EQ(GetEntryValue("EXTD=", "EXTD=\r\n"), "");
}

TEST(EntryValueTest, ShorterTrackKeyDoesNotPickUpLongerOne) {
  const std::string text = "TTITLE11=Eleven\r\nTTITLE1=One\r\nTTITLE10=Ten\r\n";
  EXPECT_EQ(GetEntryValue("TTITLE1=", text), "One");
  EXPECT_EQ(GetEntryValue("TTITLE11=", text), "Eleven");
  EXPECT_FALSE(GetEntryValue("TTITLE2=", text));
}

TEST(EntryValueTest, KeyIsFoundAnywhereButOncePerLine) {
  // Not only at line starts; a second occurrence on the same line is part of
  // the value of the first.
  EXPECT_EQ(GetEntryValue("TTITLE1=", "XTTITLE1=a TTITLE1=b\r\nTTITLE1=c\r\n"), "a TTITLE1=bc");
}

TEST(EntryValueTest, NoneForMissingKeyEmptyTextOrUnterminatedLine) {
  EXPECT_FALSE(GetEntryValue("DTITLE=", ""));
  EXPECT_FALSE(GetEntryValue("", "DTITLE=x\r\n"));
  EXPECT_FALSE(GetEntryValue("dtitle=", "DTITLE=x\r\n"));
  // One unterminated piece spoils the whole value.
  EXPECT_FALSE(GetEntryValue("DTITLE=", "DTITLE=a\r\nDTITLE=b"));
  EXPECT_FALSE(GetEntryValue("DTITLE=", "DTITLE="));
}

TEST(EntryValueTest, SetCutsLongValueAndDropsOldContinuationLines) {
  std::string text =
      "DISCID=0c01a202\r\nTTITLE3=old\r\nTTITLE3= more old\r\nTTITLE4=Four\r\nTTITLE3=far\r\n.\r\n";
  const std::string value(150, 'x');
  ASSERT_TRUE(SetEntryValue("TTITLE3=", value, text));
  const std::string expected =
      "DISCID=0c01a202\r\nTTITLE3=" + std::string(71, 'x') + "\r\nTTITLE3=" + std::string(71, 'x') +
      "\r\nTTITLE3=" + std::string(8, 'x') + "\r\nTTITLE4=Four\r\nTTITLE3=far\r\n.\r\n";
  EXPECT_EQ(text, expected);
  // Only directly following lines were replaced; the later one still counts.
  EXPECT_EQ(GetEntryValue("TTITLE3=", text), value + "far");
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

TEST(EntryValueTest, SetNoneOrEmptyLeavesTheBareKey) {
  std::string text = "A\r\nPLAYORDER=1,2,3\nPLAYORDER=4\r\n.\r\n";
  ASSERT_TRUE(SetEntryValue("PLAYORDER=", std::nullopt, text));
  EXPECT_EQ(text, "A\r\nPLAYORDER=\r\n.\r\n");
  text = "A\r\nPLAYORDER=1\r\n.\r\n";
  ASSERT_TRUE(SetEntryValue("PLAYORDER=", std::string(), text));
  EXPECT_EQ(text, "A\r\nPLAYORDER=\r\n.\r\n");
}

TEST(EntryValueTest, SetRefusesMissingKeyOrUnterminatedLine) {
  std::string text = "DTITLE=x\r\n.\r\n";
  EXPECT_FALSE(SetEntryValue("EXTD=", "y", text));
  EXPECT_EQ(text, "DTITLE=x\r\n.\r\n");
  std::string open = "DTITLE=x";
  EXPECT_FALSE(SetEntryValue("DTITLE=", "y", open));
  EXPECT_EQ(open, "DTITLE=x");
  std::string empty;
  EXPECT_FALSE(SetEntryValue("DTITLE=", "y", empty));
  EXPECT_TRUE(empty.empty());
}

TEST(EntryValueTest, SetReplacesAnUnterminatedContinuationLine) {
  std::string text = "DTITLE=a\r\nDTITLE=b";
  ASSERT_TRUE(SetEntryValue("DTITLE=", "c", text));
  EXPECT_EQ(text, "DTITLE=c\r\n");
}

TEST(HeadFieldTest, HeadLineAndMatchLines) {
  const std::string reply =
      "211 Found inexact matches, list follows\r\n"
      "rock 0c01a202 Artist / Album\r\n"
      "misc 0a0b0c0d Other\n"
      ".\r\n";
  EXPECT_EQ(HeadCategory(reply, 2), "rock");
  EXPECT_EQ(HeadDiscId(reply, 2), "0c01a202");
  EXPECT_EQ(HeadCategory(reply, 3), "misc");
  EXPECT_EQ(HeadDiscId(reply, 3), "0a0b0c0d");
  EXPECT_FALSE(HeadCategory(reply, 4));
  EXPECT_FALSE(HeadDiscId(reply, 4));
  EXPECT_FALSE(HeadCategory(reply, 9));

  const std::string entry = "200 newage 00000000\r\nDTITLE=x y z\r\n";
  EXPECT_EQ(HeadCategory(entry, 1), "newage");
  EXPECT_EQ(HeadDiscId(entry, 1), "00000000");
  EXPECT_EQ(HeadCategory("200 rock 0c01a202 Artist / Album\r\n", 1), "rock");
}

TEST(HeadFieldTest, MissingBlanksOrShortIdentifiersGiveNone) {
  // The blanks must be on the line asked for, not on a later one.
  EXPECT_FALSE(HeadCategory("200 rock\r\nDTITLE=A B\r\n", 1));
  EXPECT_FALSE(HeadDiscId("200 rock\r\nDTITLE=A B\r\n", 1));
  EXPECT_FALSE(HeadDiscId("200 rock 0c01a2\r\nDTITLE=A B\r\n", 1));
  EXPECT_FALSE(HeadDiscId("200 rock 0c01a20", 1));
  EXPECT_FALSE(HeadCategory("x\r\nnoblank\r\n", 2));
  EXPECT_FALSE(HeadCategory("", 1));
  EXPECT_FALSE(HeadDiscId("", 1));
  EXPECT_FALSE(HeadCategory("200 a b", 0));
  EXPECT_EQ(HeadCategory("200  0c01a202\r\n", 1), "");
}

TEST(LineBreakEscapeTest, SwapsBothWaysInOnePass) {
  std::string text = "a\\nb\r\nc\\\\n\r\r\n";
  ToggleLineBreakEscapes(text);
  EXPECT_EQ(text, "a\r\nb\\nc\\\r\n\r\\n");
  std::string lone = "\r \n \\ n\r";
  ToggleLineBreakEscapes(lone);
  EXPECT_EQ(lone, "\r \n \\ n\r");
}

TEST(LineBreakEscapeTest, TwiceGivesBackTheOriginal) {
  // Random texts over the characters that matter, including awkward runs
  // such as backslash before CR LF.
  std::mt19937 random(7);
  const char alphabet[] = {'\\', 'n', '\r', '\n', 'a'};
  std::uniform_int_distribution<int> pick(0, 4);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = round % 17; i > 0; --i)
      text.push_back(alphabet[pick(random)]);
    std::string toggled = text;
    ToggleLineBreakEscapes(toggled);
    ToggleLineBreakEscapes(toggled);
    ASSERT_EQ(toggled, text);
  }
}

TEST(SmallTextTest, ReplaceBlanks) {
  std::string text = " Hard  Rock ";
  ReplaceBlanks(text, '_');
  EXPECT_EQ(text, "_Hard__Rock_");
}

TEST(SmallTextTest, SkipReplyHeadPrefersCrLfBlankLine) {
  EXPECT_EQ(SkipReplyHead("HTTP/1.0 200 OK\r\nA: b\r\n\r\n200 rock x\n\n"), "200 rock x\n\n");
  EXPECT_EQ(SkipReplyHead("HTTP/1.0 200 OK\nA: b\n\n210 ok\r\n"), "210 ok\r\n");
  EXPECT_EQ(SkipReplyHead("201 no head\r\n"), "201 no head\r\n");
  EXPECT_EQ(SkipReplyHead("head\r\n\r\n"), "");
  EXPECT_EQ(SkipReplyHead(""), "");
}

TEST(SmallTextTest, RevisionAndDiscLengthComments) {
  EXPECT_EQ(EntryRevision("#\r\n# Revision: 3\r\n"), 3);
  EXPECT_EQ(EntryRevision("# Revision:\t 12x\r\n"), 12);
  EXPECT_EQ(EntryRevision("# Revision:\r\n# Submitted via: 5\r\n"), -1);
  EXPECT_EQ(EntryRevision("# Revision:   "), -1);
  EXPECT_EQ(EntryRevision("# Revision"), -1);
  EXPECT_EQ(EntryRevision(""), -1);
  EXPECT_EQ(EntryRevision("# Revision: 99999999999999\r\n"), 2147483647);
  EXPECT_EQ(EntryDiscSeconds("# Disc length: 2400 seconds\r\n"), 2400);
  EXPECT_EQ(EntryDiscSeconds("# Disc length:\r\n"), 0);
  EXPECT_EQ(EntryDiscSeconds("DTITLE=x\r\n"), 0);
}

}  // namespace
}  // namespace zcd
