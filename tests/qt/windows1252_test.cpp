#include "platform/qt/windows1252.h"

#include <gtest/gtest.h>

#include <QChar>
#include <string>

namespace zcd {
namespace {

TEST(Windows1252Test, EveryByteComesBackUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  const QString text = FromWindows1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(ToWindows1252(text), all);
}

TEST(Windows1252Test, DecodesTheWesternCharacters) {
  const std::pair<const char*, char16_t> cases[] = {
      {"A", u'A'},         {"\x80", u'\u20AC'}, {"\x8A", u'\u0160'}, {"\x93", u'\u201C'},
      {"\x9F", u'\u0178'}, {"\xA0", u'\u00A0'}, {"\xE9", u'\u00E9'}, {"\xFF", u'\u00FF'},
      {"\x81", u'\u0081'},  // unassigned: kept as the control of the same number
  };
  for (const auto& [byte, expected] : cases) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(byte[0])));
    EXPECT_EQ(FromWindows1252(byte), QString(QChar(expected)));
  }
}

TEST(Windows1252Test, EncodesWhatItHasAndQuestionMarksTheRest) {
  const std::pair<QString, std::string> cases[] = {
      {QString::fromUtf8("Caf\u00E9 \u20AC5 \u201Cok\u201D"),
       "Caf\xE9 \x80"
       "5 \x93ok\x94"},
      {QString::fromUtf8("\u2192 \u4E2D"), "? ?"},
      {QString::fromUtf8("a\U0001F600b"), "a?b"},  // one character, one "?"
      {QString(QChar(0xD800)) + "x", "?x"},        // a lone half of a surrogate pair
      {QString(), ""},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text.toStdString());
    EXPECT_EQ(ToWindows1252(text), expected);
  }
}

}  // namespace
}  // namespace zcd
