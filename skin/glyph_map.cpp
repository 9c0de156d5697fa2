#include "skin/glyph_map.h"

#include "skin/draw_number_pieces.h"

namespace zcd {
namespace {

// The Western code page's accented capitals mostly have no glyph of their own.
unsigned char FoldCapital(unsigned char c) {
  if (c >= 0xC0 && c <= 0xC5)
    return 'A';
  if (c == 0xC7)
    return 'C';
  if (c >= 0xC8 && c <= 0xCB)
    return 'E';
  if (c >= 0xCC && c <= 0xCF)
    return 'I';
  if (c >= 0xD2 && c <= 0xD6)
    return 'O';
  if (c >= 0xD9 && c <= 0xDC)
    return 'U';
  if (c == 0xEC || c == 0xED)
    return 'i';
  return c;
}

// Column in the accented row, or -1. The row skips the bytes folded above and
// those with no glyph (0xF0, 0xF7, 0xFD, 0xFE).
int AccentedColumn(unsigned char c) {
  if (c >= 0xE0 && c <= 0xEB)
    return c - 0xE0;
  if (c == 0xEE || c == 0xEF)
    return 12 + (c - 0xEE);
  if (c >= 0xF1 && c <= 0xF6)
    return 14 + (c - 0xF1);
  if (c >= 0xF8 && c <= 0xFC)
    return 20 + (c - 0xF8);
  if (c == 0xFF)
    return 25;
  return -1;
}

struct Cell {
  int column = -1;
  int row = -1;
  bool Found() const { return column >= 0; }
};

// The two layouts' fonts differ only in where the last punctuation lives: the
// full-size font wraps it onto a fifth row.
Cell CharsetCell(unsigned char c, LayoutMode mode) {
  const bool full = mode == LayoutMode::kFull;
  if (c >= 'A' && c <= 'Z')
    return {c - 'A', 0};
  if (c >= 'a' && c <= 'z')
    return {c - 'a', 1};
  if (const int column = AccentedColumn(c); column >= 0)
    return {column, 2};
  if (c >= '!' && c <= '/')
    return {c - '!', 3};
  if (c >= ':' && c <= '@')
    return {15 + (c - ':'), 3};
  if (c >= '[' && c <= '^')
    return {22 + (c - '['), 3};
  if (c == '_' || c == '`')
    return full ? Cell{20 + (c - '_'), 4} : Cell{26 + (c - '_'), 3};
  if (c >= '{' && c <= '~')
    return full ? Cell{22 + (c - '{'), 4} : Cell{28 + (c - '{'), 3};
  return {};
}

// The shade-mode piece for the capital AE lies off the grid; it is kept where
// the lookup has always put it, and a bitmap too small for it draws nothing.
constexpr Rect kFullCapitalAe{160, 60, 7, 11};
constexpr Rect kShadeCapitalAe{196, 123, 5, 8};
constexpr unsigned char kCapitalAe = 0xC6;

}  // namespace

Glyph LookupGlyph(unsigned char c, LayoutMode mode) {
  const GlyphGeometry& g = GlyphGeometryFor(mode);
  c = FoldCapital(c);
  if (c >= '0' && c <= '9') {
    if (mode == LayoutMode::kShade)
      return {GlyphSource::kNumberset, DigitPiece(kTinyDigits, c - '0', true), 0};
    Rect piece = DigitPiece(kMediumDigits, c - '0', true);
    piece.h = g.glyph_h + 1;
    return {GlyphSource::kNumberset, piece, -1};
  }
  if (c == kCapitalAe)
    return {GlyphSource::kCharset, mode == LayoutMode::kFull ? kFullCapitalAe : kShadeCapitalAe, 0};
  const Cell cell = CharsetCell(c, mode);
  if (!cell.Found())
    return {};
  return {
      GlyphSource::kCharset,
      {cell.column * g.column_pitch, g.first_row_y + cell.row * g.row_pitch, g.glyph_w, g.glyph_h},
      0};
}

int GlyphAdvance(unsigned char c, LayoutMode mode) {
  const GlyphGeometry& g = GlyphGeometryFor(mode);
  return c == ' ' || c == '\'' ? g.narrow_advance : g.advance;
}

}  // namespace zcd
