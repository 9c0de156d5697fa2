#include "discdb/entry_text_encoding.h"

#include <gtest/gtest.h>

#include "base/windows1252.h"

namespace zcd {
namespace {

TEST(EntryTextEncodingTest, Utf8IsConvertedAndAnythingElseKeptAsLatin1) {
  const struct {
    const char* name;
    std::string in;
    std::string stored;
  } cases[] = {
      {"ascii", "DTITLE=Band / Album\r\n", "DTITLE=Band / Album\r\n"},
      {"utf-8", "DTITLE=Caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d",
       "DTITLE=Caf\xe9 \x80 \x93x\x94"},
      {"utf-8 beyond Windows-1252", "\xe6\x97\xa5 \xf0\x9f\x98\x80!", "? ?!"},
      {"iso-8859-1", "DTITLE=Mot\xf6rhead / Caf\xe9 \xbfS\xed?",
       "DTITLE=Mot\xf6rhead / Caf\xe9 \xbfS\xed?"},
      // One Latin-1 byte makes the whole text 8-bit, its UTF-8 pairs included.
      {"mixed", "Caf\xc3\xa9 Caf\xe9", "Caf\xc3\xa9 Caf\xe9"},
      {"overlong", "a\xc0\xaf", "a\xc0\xaf"},
      {"surrogate", "\xed\xa0\x80", "\xed\xa0\x80"},
      {"cut short at the end", "Caf\xc3", "Caf\xc3"},
      {"cut short by a byte", "\xe2\x82x", "\xe2\x82x"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EntryBytesToStored(c.in), c.stored);
  }
}

// Stored bytes shown in UTF-8 and read back: every byte survives.
TEST(EntryTextEncodingTest, StoredBytesSurviveTheWayToUtf8AndBack) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
  EXPECT_EQ(Windows1252ToUtf8("\x80\xe9\x9f"), "\xe2\x82\xac\xc3\xa9\xc5\xb8");
}

}  // namespace
}  // namespace zcd
