#pragma once

#include <string_view>

#include "base/bitmap.h"
#include "base/geometry.h"

namespace zcd {

// One text line rendered once into a strip of glyphs; scrolling then only
// copies pieces of it.
struct TextStrip {
  Bitmap image;   // black where no glyph stands
  int width = 0;  // the pen position after the last character
};

// Bytes are Windows Western text; characters without a glyph leave a gap.
TextStrip RenderTextStrip(std::string_view text, LayoutMode mode, const Bitmap& charset,
                          const Bitmap& numberset);

}  // namespace zcd
