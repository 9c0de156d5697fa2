#include "tools/skin_gen/lettering.h"

namespace zcd::skin_gen {

int DrawTiny(Canvas& canvas, int x, int y, std::string_view text, uint32_t color, int word_space) {
  bool first = true;
  for (char c : text) {
    if (c == ' ') {
      x += word_space;
      first = true;
      continue;
    }
    if (!first)
      x += 1;
    const std::string_view art = TinyGlyph(c);
    canvas.ArtRows(x, y, art, color);
    x += ArtWidth(art);
    first = false;
  }
  return x;
}

void DrawFullGlyph(Canvas& canvas, int x, int y, unsigned char c, uint32_t color) {
  const GlyphArt art = FullGlyph(c);
  canvas.ArtRows(x, y, art.rows, color);
  if (art.accent != Accent::kNone)
    canvas.ArtRows(x + art.accent_x, y, FullAccent(art.accent), color);
}

void DrawSmallGlyph(Canvas& canvas, int x, int y, unsigned char c, uint32_t color) {
  const GlyphArt art = SmallGlyph(c);
  canvas.ArtRows(x, y, art.rows, color);
  if (art.accent != Accent::kNone)
    canvas.ArtRows(x + art.accent_x, y, SmallAccent(art.accent), color);
}

int DrawSmallText(Canvas& canvas, int x, int y, std::string_view text, uint32_t color, int pitch) {
  for (char c : text) {
    DrawSmallGlyph(canvas, x, y, static_cast<unsigned char>(c), color);
    x += pitch;
  }
  return x;
}

}  // namespace zcd::skin_gen
