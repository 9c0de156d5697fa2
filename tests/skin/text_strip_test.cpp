#include "skin/text_strip.h"

#include <gtest/gtest.h>

#include "skin/glyph_map.h"

namespace zcd {
namespace {

// Every pixel of a sheet names its own position, so a copied piece shows
// exactly where it came from.
Bitmap PositionSheet(int width, int height) {
  Bitmap sheet(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      sheet.At(x, y) = Rgb(x, y, 1);
  }
  return sheet;
}

TextStrip Render(const std::string& text, LayoutMode mode = LayoutMode::kFull) {
  static const Bitmap charset = PositionSheet(256, 128);
  static const Bitmap numberset = PositionSheet(160, 64);
  return RenderTextStrip(text, mode, charset, numberset);
}

// Where glyphs and digits land is pinned by the glyph golden images.
TEST(TextStripTest, UnknownBytesLeaveGapsAndEmptyTextHasNoWidth) {
  const TextStrip gap = Render("\xD1");
  EXPECT_EQ(gap.width, 9);
  for (uint32_t pixel : gap.image.pixels)
    EXPECT_EQ(pixel, kOpaque);
  const TextStrip empty = Render("", LayoutMode::kShade);
  EXPECT_EQ(empty.width, 0);
  EXPECT_TRUE(empty.image.Empty());
}

}  // namespace
}  // namespace zcd
