#include "skin/glyph_map.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

constexpr LayoutMode kFull = LayoutMode::kFull;
constexpr LayoutMode kShade = LayoutMode::kShade;

// Each glyph's place on the sheets is pinned by the glyph golden images.
TEST(GlyphLookup, AccentedCapitalsFoldOntoPlainLettersAndOtherBytesAreGaps) {
  const struct {
    int first, last;
    char letter;
  } folds[] = {{0xC0, 0xC5, 'A'}, {0xC7, 0xC7, 'C'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'},
               {0xD2, 0xD6, 'O'}, {0xD9, 0xDC, 'U'}, {0xEC, 0xED, 'i'}};
  for (const LayoutMode mode : {kFull, kShade}) {
    for (const auto& fold : folds) {
      for (int c = fold.first; c <= fold.last; ++c)
        EXPECT_EQ(LookupGlyph(static_cast<unsigned char>(c), mode), LookupGlyph(fold.letter, mode))
            << std::hex << c;
    }
    for (const int c :
         {0x00, 0x20, 0x7F, 0x80, 0xBF, 0xD0, 0xD1, 0xD7, 0xD8, 0xDD, 0xDF, 0xF0, 0xF7, 0xFD, 0xFE})
      EXPECT_EQ(LookupGlyph(static_cast<unsigned char>(c), mode).source, GlyphSource::kNone)
          << std::hex << c;
  }
}

}  // namespace
}  // namespace zcd
