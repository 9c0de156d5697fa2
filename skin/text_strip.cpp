#include "skin/text_strip.h"

#include "skin/blit.h"
#include "skin/glyph_map.h"

namespace zcd {

TextStrip RenderTextStrip(std::string_view text, LayoutMode mode, const Bitmap& charset,
                          const Bitmap& numberset) {
  const GlyphGeometry& geometry = GlyphGeometryFor(mode);
  Surface strip((geometry.glyph_w + 2) * static_cast<int>(text.size()), geometry.glyph_h);
  int x = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const Glyph glyph = LookupGlyph(byte, mode);
    if (glyph.source != GlyphSource::kNone) {
      const Bitmap& source = glyph.source == GlyphSource::kCharset ? charset : numberset;
      CopyPiece(strip, x, glyph.dy, glyph.piece, source);
    }
    x += GlyphAdvance(byte, mode);
  }
  TextStrip result;
  result.width = x;
  result.image = Bitmap(strip.width(), strip.height());
  for (int y = 0; y < strip.height(); ++y) {
    for (int col = 0; col < strip.width(); ++col)
      result.image.At(col, y) = strip.At(col, y);
  }
  return result;
}

}  // namespace zcd
