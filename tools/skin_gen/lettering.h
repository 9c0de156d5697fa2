#pragma once

#include <cstdint>
#include <string_view>

#include "tools/skin_gen/canvas.h"
#include "tools/skin_gen/fonts.h"

namespace zcd::skin_gen {

// Draws text in the tiny label font with its top-left at x,y; returns the x
// just past the last glyph.
int DrawTiny(Canvas& canvas, int x, int y, std::string_view text, uint32_t color,
             int word_space = 3);

// Draws a full-size or small glyph (base and accent) with its cell at x,y.
void DrawFullGlyph(Canvas& canvas, int x, int y, unsigned char c, uint32_t color);
void DrawSmallGlyph(Canvas& canvas, int x, int y, unsigned char c, uint32_t color);

// Small-font text at a fixed pitch; returns the x past the last cell.
int DrawSmallText(Canvas& canvas, int x, int y, std::string_view text, uint32_t color, int pitch);

}  // namespace zcd::skin_gen
