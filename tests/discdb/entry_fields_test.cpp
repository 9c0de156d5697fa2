#include "discdb/entry_fields.h"

#include <gtest/gtest.h>

#include <random>

#include "discdb/entry_text.h"

namespace zcd {
namespace {

// Random entries made of the lines that trip a one-pass reader: keys
// repeated (continuations, also far apart), numbers spelled oddly, key text
// inside values, CR without LF, a last line without a line feed; every value
// read must equal what a search for its key returns.
TEST(EntryFieldsTest, EveryValueIsWhatTheSearchForItsKeyReturns) {
  const char* const lines[] = {
      "DTITLE=Artist / Album",
      "DTITLE= more",
      "EXTD=line\\nbreak",
      "EXTD=",
      "TTITLE0=Zero",
      "TTITLE1=One",
      "TTITLE1=continued",
      "TTITLE11=Eleven",
      "TTITLE01=Leading zero",
      "TTITLE-1=Minus",
      "TTITLE=None",
      "TTITLE2=has TTITLE3=inside",
      "EXTT0=Extended",
      "EXTT2=\r",
      "EXTT10=Ten",
      " TTITLE4=indented",
      "#TTITLE5=comment",
      "TTITLE5=Five\r\r",
      "xDTITLE=no",
      "TTITLE99999999999=huge",
      "EXTT3=a\rb",
      "",
      "TTITLE12=Twelve",
  };
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    std::string entry = "# xmcd\r\n";
    const int count = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < count; ++i) {
      entry += lines[std::uniform_int_distribution<size_t>(0, std::size(lines) - 1)(random)];
      entry += random() % 4 == 0 ? "\n" : "\r\n";
    }
    if (random() % 3 == 0 && !entry.empty())
      entry.resize(entry.size() - 1 - random() % 2);  // the last line loses its line feed
    SCOPED_TRACE(entry);
    const EntryFields fields = ReadEntryFields(entry);
    ASSERT_EQ(fields.disc_title, GetEntryValue("DTITLE=", entry));
    ASSERT_EQ(fields.disc_extended, GetEntryValue("EXTD=", entry));
    for (int n = 0; n < 14; ++n) {
      ASSERT_EQ(fields.Title(n), GetEntryValue("TTITLE" + std::to_string(n) + "=", entry)) << n;
      ASSERT_EQ(fields.TrackExtended(n), GetEntryValue("EXTT" + std::to_string(n) + "=", entry))
          << n;
    }
  }
}

}  // namespace
}  // namespace zcd
