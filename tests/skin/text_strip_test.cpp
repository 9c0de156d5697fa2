#include "skin/text_strip.h"

#include <gtest/gtest.h>

#include "skin/glyph_map.h"

namespace zcd {
namespace {

// Every pixel of the sheet names its own position, so a copied piece shows
// exactly where it came from.
Bitmap PositionSheet(int width, int height) {
  Bitmap sheet(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      sheet.At(x, y) = Rgb(x, y, 1);
  }
  return sheet;
}

uint32_t SourceAt(int x, int y) {
  return Rgb(x, y, 1);
}

class TextStripTest : public ::testing::Test {
 protected:
  Bitmap charset_ = PositionSheet(256, 128);
  Bitmap numberset_ = PositionSheet(160, 64);
};

TEST_F(TextStripTest, GlyphsLandAtTheirAdvances) {
  // "B" is column 1 of row 0; a blank advances 5; "b" is column 1 of row 1.
  const TextStrip strip = RenderTextStrip("B b", LayoutMode::kFull, charset_, numberset_);
  EXPECT_EQ(strip.width, 9 + 5 + 9);
  EXPECT_EQ(strip.image.width, 3 * 9);
  EXPECT_EQ(strip.image.height, 11);
  EXPECT_EQ(strip.image.At(0, 0), SourceAt(8, 0));
  EXPECT_EQ(strip.image.At(6, 10), SourceAt(14, 10));
  EXPECT_EQ(strip.image.At(7, 0), kOpaque);  // the glyph is 7 wide
  EXPECT_EQ(strip.image.At(14, 0), SourceAt(8, 12));
}

TEST_F(TextStripTest, AccentedCapitalsFoldAndUnknownBytesLeaveGaps) {
  const TextStrip folded = RenderTextStrip("\xC8", LayoutMode::kFull, charset_, numberset_);
  const TextStrip plain = RenderTextStrip("E", LayoutMode::kFull, charset_, numberset_);
  EXPECT_EQ(folded.image, plain.image);
  const TextStrip gap = RenderTextStrip("\xD1", LayoutMode::kFull, charset_, numberset_);
  EXPECT_EQ(gap.width, 9);
  for (uint32_t pixel : gap.image.pixels)
    EXPECT_EQ(pixel, kOpaque);
}

TEST_F(TextStripTest, FullModeDigitsComeFromTheNumbersetOnePixelHigher) {
  const TextStrip strip = RenderTextStrip("3", LayoutMode::kFull, charset_, numberset_);
  // The medium lit digit 3 at x 24, y 28, drawn from strip row -1.
  EXPECT_EQ(strip.image.At(0, 0), SourceAt(24, 29));
  EXPECT_EQ(strip.image.At(6, 10), SourceAt(30, 39));
}

TEST_F(TextStripTest, EmptyTextHasNoWidth) {
  const TextStrip strip = RenderTextStrip("", LayoutMode::kShade, charset_, numberset_);
  EXPECT_EQ(strip.width, 0);
  EXPECT_TRUE(strip.image.Empty());
}

}  // namespace
}  // namespace zcd
