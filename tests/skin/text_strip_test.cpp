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

TEST(TextStripTest, GlyphsLandAtTheirAdvances) {
  // "B" is column 1 of row 0; a blank advances 5; "b" is column 1 of row 1.
  const TextStrip strip = Render("B b");
  EXPECT_EQ(strip.width, 9 + 5 + 9);
  EXPECT_EQ(strip.image.width, 3 * 9);
  EXPECT_EQ(strip.image.height, 11);
  EXPECT_EQ(strip.image.At(0, 0), Rgb(8, 0, 1));
  EXPECT_EQ(strip.image.At(6, 10), Rgb(14, 10, 1));
  EXPECT_EQ(strip.image.At(7, 0), kOpaque);  // the glyph is 7 wide
  EXPECT_EQ(strip.image.At(14, 0), Rgb(8, 12, 1));
}

TEST(TextStripTest, FullModeDigitsComeFromTheNumbersetOnePixelHigher) {
  // The medium lit digit 3 at x 24, y 28, drawn from strip row -1.
  const TextStrip strip = Render("3");
  EXPECT_EQ(strip.image.At(0, 0), Rgb(24, 29, 1));
  EXPECT_EQ(strip.image.At(6, 10), Rgb(30, 39, 1));
}

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
