#include "skin/glyph_map.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

constexpr LayoutMode kFull = LayoutMode::kFull;
constexpr LayoutMode kShade = LayoutMode::kShade;

TEST(GlyphLookup, CharactersFollowTheGrid) {
  // Charset pieces, 7 x 11 in full mode and 5 x 8 in shade mode: letters and
  // punctuation; the accented row, which skips the bytes that have no glyph;
  // the last punctuation, which differs between the layouts.
  const struct {
    int c;
    LayoutMode mode;
    int x, y;
  } pieces[] = {{'A', kFull, 0, 0},      {'Z', kFull, 200, 0},    {'b', kFull, 8, 12},
                {'z', kShade, 150, 57},  {'C', kShade, 12, 48},   {'!', kFull, 0, 36},
                {'\'', kFull, 48, 36},   {'/', kFull, 112, 36},   {':', kFull, 120, 36},
                {'@', kShade, 126, 75},  {'[', kFull, 176, 36},   {'^', kShade, 150, 75},
                {0xE0, kFull, 0, 24},    {0xEB, kFull, 88, 24},   {0xEE, kFull, 96, 24},
                {0xEF, kFull, 104, 24},  {0xF1, kFull, 112, 24},  {0xF6, kFull, 152, 24},
                {0xF8, kFull, 160, 24},  {0xFC, kFull, 192, 24},  {0xFF, kFull, 200, 24},
                {0xFF, kShade, 150, 66}, {'_', kFull, 160, 48},   {'`', kFull, 168, 48},
                {'{', kFull, 176, 48},   {'~', kFull, 200, 48},   {'_', kShade, 156, 75},
                {'`', kShade, 162, 75},  {'{', kShade, 168, 75},  {'~', kShade, 186, 75},
                {0xC6, kFull, 160, 60},  {0xC6, kShade, 196, 123}};
  for (const auto& [c, mode, x, y] : pieces) {
    const Glyph expected = mode == kFull ? Glyph{GlyphSource::kCharset, {x, y, 7, 11}, 0}
                                         : Glyph{GlyphSource::kCharset, {x, y, 5, 8}, 0};
    EXPECT_EQ(LookupGlyph(static_cast<unsigned char>(c), mode), expected) << std::hex << c;
  }
  // Digits come from the lit number row; in full mode one pixel higher and
  // one row taller than letters.
  EXPECT_EQ(LookupGlyph('0', kFull), (Glyph{GlyphSource::kNumberset, {0, 28, 7, 12}, -1}));
  EXPECT_EQ(LookupGlyph('9', kFull), (Glyph{GlyphSource::kNumberset, {72, 28, 7, 12}, -1}));
  EXPECT_EQ(LookupGlyph('0', kShade), (Glyph{GlyphSource::kNumberset, {80, 28, 5, 8}, 0}));
  EXPECT_EQ(LookupGlyph('9', kShade), (Glyph{GlyphSource::kNumberset, {134, 28, 5, 8}, 0}));
}

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

TEST(GlyphAdvance, SpaceAndApostropheAreNarrow) {
  for (const int c : {0x20, 0x27, 0x41, 0x30, 0x7E, 0xD1}) {
    const bool narrow = c == ' ' || c == '\'';
    EXPECT_EQ(GlyphAdvance(static_cast<unsigned char>(c), kFull), narrow ? 5 : 9) << c;
    EXPECT_EQ(GlyphAdvance(static_cast<unsigned char>(c), kShade), narrow ? 3 : 6) << c;
  }
}

}  // namespace
}  // namespace zcd
