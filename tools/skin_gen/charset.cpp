#include "skin/glyph_map.h"
#include "skin/skin_files.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/lettering.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

// Every byte the text lookup can send to a charset cell gets its picture at
// the cell the lookup names, so the font and the lookup cannot disagree.
void DrawFont(Canvas& canvas, LayoutMode mode) {
  for (int code = 0; code < 256; ++code) {
    const unsigned char c = static_cast<unsigned char>(code);
    const Glyph glyph = LookupGlyph(c, mode);
    if (glyph.source != GlyphSource::kCharset)
      continue;
    // Accented capitals fold onto plain ones; draw each cell from its own
    // character only.
    if ((c >= 0xC0 && c <= 0xDC && c != 0xC6) || c == 0xEC || c == 0xED)
      continue;
    if (mode == LayoutMode::kFull)
      DrawFullGlyph(canvas, glyph.piece.x, glyph.piece.y, c, palette::kLit);
    else
      DrawSmallGlyph(canvas, glyph.piece.x, glyph.piece.y, c, palette::kLit);
  }
}

}  // namespace

Bitmap MakeCharset() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kCharset);
  Bitmap bitmap(info.width, info.height, palette::kBlack);
  Canvas canvas(bitmap);
  DrawFont(canvas, LayoutMode::kFull);
  DrawFont(canvas, LayoutMode::kShade);
  return bitmap;
}

}  // namespace zcd::skin_gen
