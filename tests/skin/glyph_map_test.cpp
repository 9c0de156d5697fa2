#include "skin/glyph_map.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

constexpr LayoutMode kFull = LayoutMode::kFull;
constexpr LayoutMode kShade = LayoutMode::kShade;

Glyph Charset(int x, int y, int w, int h) {
  return {GlyphSource::kCharset, {x, y, w, h}, 0};
}

TEST(GlyphLookup, LettersAndPunctuationFollowTheGrid) {
  EXPECT_EQ(LookupGlyph('A', kFull), Charset(0, 0, 7, 11));
  EXPECT_EQ(LookupGlyph('Z', kFull), Charset(200, 0, 7, 11));
  EXPECT_EQ(LookupGlyph('b', kFull), Charset(8, 12, 7, 11));
  EXPECT_EQ(LookupGlyph('z', kShade), Charset(150, 57, 5, 8));
  EXPECT_EQ(LookupGlyph('C', kShade), Charset(12, 48, 5, 8));
  EXPECT_EQ(LookupGlyph('!', kFull), Charset(0, 36, 7, 11));
  EXPECT_EQ(LookupGlyph('\'', kFull), Charset(48, 36, 7, 11));
  EXPECT_EQ(LookupGlyph('/', kFull), Charset(112, 36, 7, 11));
  EXPECT_EQ(LookupGlyph(':', kFull), Charset(120, 36, 7, 11));
  EXPECT_EQ(LookupGlyph('@', kShade), Charset(126, 75, 5, 8));
  EXPECT_EQ(LookupGlyph('[', kFull), Charset(176, 36, 7, 11));
  EXPECT_EQ(LookupGlyph('^', kShade), Charset(150, 75, 5, 8));
}

TEST(GlyphLookup, AccentedRowSkipsBytesWithoutGlyphs) {
  EXPECT_EQ(LookupGlyph(0xE0, kFull), Charset(0, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xEB, kFull), Charset(88, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xEE, kFull), Charset(96, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xEF, kFull), Charset(104, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xF1, kFull), Charset(112, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xF6, kFull), Charset(152, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xF8, kFull), Charset(160, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xFC, kFull), Charset(192, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xFF, kFull), Charset(200, 24, 7, 11));
  EXPECT_EQ(LookupGlyph(0xFF, kShade), Charset(150, 66, 5, 8));
}

TEST(GlyphLookup, AccentedCapitalsFoldOntoPlainLetters) {
  for (const LayoutMode mode : {kFull, kShade}) {
    const struct {
      int first, last;
      char letter;
    } folds[] = {{0xC0, 0xC5, 'A'}, {0xC7, 0xC7, 'C'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'},
                 {0xD2, 0xD6, 'O'}, {0xD9, 0xDC, 'U'}, {0xEC, 0xED, 'i'}};
    for (const auto& fold : folds) {
      for (int c = fold.first; c <= fold.last; ++c)
        EXPECT_EQ(LookupGlyph(static_cast<unsigned char>(c), mode), LookupGlyph(fold.letter, mode))
            << std::hex << c;
    }
  }
}

TEST(GlyphLookup, BytesWithoutGlyphsAreGaps) {
  for (const LayoutMode mode : {kFull, kShade}) {
    for (const int c :
         {0x00, 0x20, 0x7F, 0x80, 0xBF, 0xD0, 0xD1, 0xD7, 0xD8, 0xDD, 0xDF, 0xF0, 0xF7, 0xFD, 0xFE})
      EXPECT_EQ(LookupGlyph(static_cast<unsigned char>(c), mode).source, GlyphSource::kNone)
          << std::hex << c;
  }
}

TEST(GlyphLookup, LastPunctuationDiffersBetweenLayouts) {
  EXPECT_EQ(LookupGlyph('_', kFull), Charset(160, 48, 7, 11));
  EXPECT_EQ(LookupGlyph('`', kFull), Charset(168, 48, 7, 11));
  EXPECT_EQ(LookupGlyph('{', kFull), Charset(176, 48, 7, 11));
  EXPECT_EQ(LookupGlyph('~', kFull), Charset(200, 48, 7, 11));
  EXPECT_EQ(LookupGlyph('_', kShade), Charset(156, 75, 5, 8));
  EXPECT_EQ(LookupGlyph('`', kShade), Charset(162, 75, 5, 8));
  EXPECT_EQ(LookupGlyph('{', kShade), Charset(168, 75, 5, 8));
  EXPECT_EQ(LookupGlyph('~', kShade), Charset(186, 75, 5, 8));
  EXPECT_EQ(LookupGlyph(0xC6, kFull), Charset(160, 60, 7, 11));
  EXPECT_EQ(LookupGlyph(0xC6, kShade), Charset(196, 123, 5, 8));
}

TEST(GlyphLookup, DigitsComeFromTheLitNumberRow) {
  // Full-mode digits stand one pixel higher and one row taller than letters.
  EXPECT_EQ(LookupGlyph('0', kFull), (Glyph{GlyphSource::kNumberset, {0, 28, 7, 12}, -1}));
  EXPECT_EQ(LookupGlyph('9', kFull), (Glyph{GlyphSource::kNumberset, {72, 28, 7, 12}, -1}));
  EXPECT_EQ(LookupGlyph('0', kShade), (Glyph{GlyphSource::kNumberset, {80, 28, 5, 8}, 0}));
  EXPECT_EQ(LookupGlyph('9', kShade), (Glyph{GlyphSource::kNumberset, {134, 28, 5, 8}, 0}));
}

TEST(GlyphLookup, EveryGlyphFitsTheBuiltInBitmaps) {
  // Built-in "charset.bmp" is 207 x 83 and "numberset.bmp" 139 x 55; only the
  // shade-mode capital AE is known to lie outside.
  for (const LayoutMode mode : {kFull, kShade}) {
    for (int c = 0; c < 256; ++c) {
      const Glyph g = LookupGlyph(static_cast<unsigned char>(c), mode);
      if (g.source == GlyphSource::kNone || (mode == kShade && c == 0xC6))
        continue;
      const bool charset = g.source == GlyphSource::kCharset;
      EXPECT_GE(g.piece.x, 0) << c;
      EXPECT_GE(g.piece.y, 0) << c;
      EXPECT_LE(g.piece.x + g.piece.w, charset ? 207 : 139) << c;
      EXPECT_LE(g.piece.y + g.piece.h, charset ? 83 : 55) << c;
    }
  }
}

TEST(GlyphAdvance, SpaceAndApostropheAreNarrow) {
  EXPECT_EQ(GlyphAdvance(' ', kFull), 5);
  EXPECT_EQ(GlyphAdvance('\'', kFull), 5);
  EXPECT_EQ(GlyphAdvance(' ', kShade), 3);
  EXPECT_EQ(GlyphAdvance('\'', kShade), 3);
  for (const int c : {0x41, 0x30, 0x7E, 0xD1}) {
    EXPECT_EQ(GlyphAdvance(static_cast<unsigned char>(c), kFull), 9);
    EXPECT_EQ(GlyphAdvance(static_cast<unsigned char>(c), kShade), 6);
  }
}

}  // namespace
}  // namespace zcd
