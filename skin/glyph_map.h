#pragma once

#include "base/geometry.h"
#include "base/rect.h"

namespace zcd {

// Glyph size, grid and text slot of one layout. Cell (column c, row r) of
// "charset.bmp" lies at x = c * column_pitch, y = first_row_y + r * row_pitch.
struct GlyphGeometry {
  int glyph_w;
  int glyph_h;
  int column_pitch;
  int row_pitch;
  int first_row_y;
  int advance;
  int narrow_advance;  // for " " and "'"
  int slot_w;
  int slot_h;
};

inline constexpr GlyphGeometry kFullGlyphs{7, 11, 8, 12, 0, 9, 5, kTitleSlot.w, kTitleSlot.h};
inline constexpr GlyphGeometry kShadeGlyphs{5, 8, 6, 9, 48, 6, 3, kShadeSlotAt.w, kShadeSlotAt.h};

constexpr const GlyphGeometry& GlyphGeometryFor(LayoutMode mode) {
  return mode == LayoutMode::kFull ? kFullGlyphs : kShadeGlyphs;
}

enum class GlyphSource { kNone, kCharset, kNumberset };

// Where one character's picture comes from. piece is in the source bitmap; the
// piece lands at dy relative to the top of the text line (full-mode digits stand
// one pixel higher and one row taller than letters).
struct Glyph {
  GlyphSource source = GlyphSource::kNone;
  Rect piece;
  int dy = 0;
  bool operator==(const Glyph&) const = default;
};

// c is a byte of the Windows Western code page. Capitals with accents are folded
// onto plain capitals; bytes without a glyph (space included) give kNone.
Glyph LookupGlyph(unsigned char c, LayoutMode mode);

// How far the pen moves after c, whether or not c has a glyph.
int GlyphAdvance(unsigned char c, LayoutMode mode);

}  // namespace zcd
