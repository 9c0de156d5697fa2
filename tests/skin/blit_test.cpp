#include "skin/blit.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/pixels.h"

namespace zcd {
namespace {

constexpr uint32_t kBackground = Rgb(0x0F, 0xF0, 0x00);
constexpr uint32_t kTag = 0x80;

using test::Pixels;

constexpr uint32_t P(int x, int y) {
  return test::NamedPixel(x, y, kTag);
}

Bitmap Pattern(int w, int h) {
  return test::NamedSheet(w, h, kTag);
}

Pixels Placed(int x, int y, const Rect& from) {
  return test::PlacedPiece(x, y, from, kTag);
}

// Target pixel (x + i, y + j) shows pattern pixel (xs[i], ys[j]).
Pixels Sampled(int x, int y, const std::vector<int>& xs, const std::vector<int>& ys) {
  Pixels pixels;
  for (size_t j = 0; j < ys.size(); ++j)
    for (size_t i = 0; i < xs.size(); ++i)
      pixels[{x + static_cast<int>(i), y + static_cast<int>(j)}] = P(xs[i], ys[j]);
  return pixels;
}

std::string Mismatches(const Surface& s, const Pixels& want, uint32_t background = kBackground) {
  return test::PixelMismatches(s, want, background);
}

TEST(BlitCopy, PiecesClipToTheTargetAndToTheSourceWithoutShifting) {
  const Bitmap b = Pattern(4, 3);
  const struct {
    const char* name;
    int w, h, x, y;  // the target's size, where the piece goes
    Rect piece;
    Pixels want;
  } cases[] = {
      {"inside", 6, 5, 2, 1, {0, 0, 3, 2}, Placed(2, 1, {0, 0, 3, 2})},
      {"top-left edge", 6, 5, -1, -2, {1, 0, 3, 3}, Placed(0, 0, {2, 2, 2, 1})},
      {"bottom-right edge", 6, 5, 4, 3, {0, 0, 4, 3}, Placed(4, 3, {0, 0, 2, 2})},
      {"whole target covered", 2, 1, -1, -1, {0, 0, 4, 3}, Placed(0, 0, {1, 1, 2, 1})},
      {"before the source", 6, 5, 1, 1, {-1, -1, 3, 3}, Placed(2, 2, {0, 0, 2, 2})},
      // A skin bitmap smaller than the geometry expects: only its own pixels show.
      {"larger than the source", 6, 5, 0, 0, {0, 0, 10, 10}, Placed(0, 0, {0, 0, 4, 3})},
      {"past the source's end", 6, 5, 0, 0, {3, 2, 3, 3}, Placed(0, 0, {3, 2, 1, 1})},
      {"no width", 6, 5, 1, 1, {0, 0, 0, 2}, {}},
      {"negative height", 6, 5, 1, 1, {0, 0, 2, -1}, {}},
      {"right of the source", 6, 5, 1, 1, {4, 0, 2, 2}, {}},
      {"above the source", 6, 5, 1, 1, {0, -2, 2, 2}, {}},
      {"right of the target", 6, 5, 6, 0, {0, 0, 3, 2}, {}},
      {"left of the target", 6, 5, -3, 0, {0, 0, 3, 2}, {}},
      {"below the target", 6, 5, 0, 5, {0, 0, 3, 2}, {}},
      {"overflowing target place", 6, 5, INT_MAX - 1, INT_MAX - 1, {0, 0, 3, 2}, {}},
      {"overflowing source place", 6, 5, INT_MIN + 1, 0, {INT_MAX - 1, 0, INT_MAX, 2}, {}}};
  for (const auto& c : cases) {
    Surface s(c.w, c.h, kBackground);
    CopyPiece(s, c.x, c.y, c.piece, b);
    EXPECT_EQ(Mismatches(s, c.want), "") << c.name;
  }
}

TEST(BlitCopy, WholeBitmapsLandAtTheirPositionAndEmptyOnesDrawNothing) {
  Surface s(6, 5, kBackground);
  CopyBitmap(s, 2, 1, Pattern(3, 2));
  CopyBitmap(s, 0, 0, Bitmap());
  EXPECT_EQ(Mismatches(s, Placed(2, 1, {0, 0, 3, 2})), "");
  Surface empty;  // must not be written to
  CopyBitmap(empty, 0, 0, Pattern(3, 2));
}

TEST(BlitCopy, KeepsTheTargetOpaque) {
  Bitmap b(1, 1);
  b.pixels[0] = 0x00123456u;
  Surface s(2, 1, kBackground);
  CopyPiece(s, 0, 0, {0, 0, 1, 1}, b);
  EXPECT_EQ(Mismatches(s, {{{0, 0}, 0xFF123456u}}), "");
}

TEST(BlitPaint, OrsOntoTheTargetAndBlackIsTransparent) {
  Bitmap b(3, 1);
  b.At(0, 0) = Rgb(0, 0, 0);
  b.At(1, 0) = Rgb(0x30, 0x01, 0x80);
  b.pixels[2] = 0x00000011u;  // no alpha byte of its own
  Surface s(4, 2, kBackground);
  PaintPiece(s, 0, 1, {0, 0, 3, 1}, b);
  PaintPiece(s, 3, 0, {1, 0, 5, 5}, b);  // clipped to one pixel
  EXPECT_EQ(Mismatches(s, {{{1, 1}, Rgb(0x3F, 0xF1, 0x80)},
                           {{2, 1}, Rgb(0x0F, 0xF0, 0x11)},
                           {{3, 0}, Rgb(0x3F, 0xF1, 0x80)}}),
            "");
}

TEST(BlitSprite, AndsTheMaskThenOrsTheImage) {
  // Image at x 0..1, mask at x 2..3: a black mask pixel cuts a hole the image
  // fills; a white one keeps the background, where a black image pixel adds nothing.
  const uint32_t kImage = Rgb(0x11, 0x22, 0x33);
  const uint32_t kGrey = Rgb(0xC0, 0xC0, 0xC0);
  Bitmap b(4, 1);
  b.At(0, 0) = kImage;
  b.At(1, 0) = Rgb(0, 0, 0);
  b.At(2, 0) = Rgb(0, 0, 0);
  b.At(3, 0) = Rgb(0xFF, 0xFF, 0xFF);
  Surface s(3, 2, kGrey);
  SpritePiece(s, 1, 0, {0, 0, 2, 1}, 2, 0, b);
  // A mask with only part of it inside the bitmap draws only where it exists.
  SpritePiece(s, 0, 1, {0, 0, 2, 1}, 3, 0, b);
  EXPECT_EQ(Mismatches(s, {{{1, 0}, kImage}, {{0, 1}, kGrey | kImage}}, kGrey), "");

  Surface clipped(2, 1, kGrey);
  SpritePiece(clipped, -1, 0, {0, 0, 2, 1}, 2, 0, b);
  SpritePiece(clipped, 1, 0, {0, 0, 0, 1}, 2, 0, b);
  EXPECT_EQ(Mismatches(clipped, {}, kGrey), "");
}

TEST(BlitStretch, RepeatsOrSkipsPixelsAndClipsWithoutMovingTheSamplingGrid) {
  const Bitmap b = Pattern(6, 4);
  const struct {
    const char* name;
    int w, h;  // the target's size
    Rect dest, piece;
    Pixels want;
  } cases[] = {
      {"doubled", 6, 4, {0, 0, 6, 1}, {0, 0, 3, 1}, Sampled(0, 0, {0, 0, 1, 1, 2, 2}, {0})},
      {"3 to 5 columns", 6, 4, {0, 1, 5, 1}, {0, 0, 3, 1}, Sampled(0, 1, {0, 0, 1, 1, 2}, {0})},
      {"2 to 3 rows", 6, 4, {5, 1, 1, 3}, {2, 0, 1, 2}, Sampled(5, 1, {2}, {0, 0, 1})},
      {"halved", 3, 2, {0, 0, 3, 2}, {0, 0, 6, 4}, Sampled(0, 0, {0, 2, 4}, {0, 2})},
      {"left of the target", 4, 1, {-2, 0, 6, 1}, {0, 0, 3, 1}, Sampled(0, 0, {1, 1, 2, 2}, {0})},
      // The piece runs two columns past the bitmap: their samples draw nothing.
      {"past the source", 8, 1, {0, 0, 8, 1}, {4, 0, 4, 1}, Sampled(0, 0, {4, 4, 5, 5}, {0})},
      {"before the source", 4, 2, {0, 0, 4, 2}, {-1, -1, 2, 2}, Sampled(2, 1, {0, 0}, {0})},
      {"no target width", 4, 2, {0, 0, 0, 2}, {0, 0, 3, 1}, {}},
      {"no source height", 4, 2, {0, 0, 4, 2}, {0, 0, 3, 0}, {}},
      {"off the target", 4, 2, {4, 0, 4, 2}, {0, 0, 3, 1}, {}},
      {"off the source", 4, 2, {0, 0, 4, 2}, {6, 0, 3, 1}, {}}};
  for (const auto& c : cases) {
    Surface s(c.w, c.h, kBackground);
    StretchPiece(s, c.dest, c.piece, b);
    EXPECT_EQ(Mismatches(s, c.want), "") << c.name;
  }
}

TEST(BlitStretch, CombinesWithTheRequestedOperation) {
  Bitmap b(2, 1);
  b.At(0, 0) = Rgb(0, 0, 0);
  b.At(1, 0) = Rgb(0x30, 0x0F, 0xFF);
  Surface s(4, 2, kBackground);
  StretchPiece(s, {0, 0, 4, 1}, {0, 0, 2, 1}, b, RasterOp::kOr);
  StretchPiece(s, {0, 1, 4, 1}, {0, 0, 2, 1}, b, RasterOp::kAnd);
  const uint32_t ored = Rgb(0x3F, 0xFF, 0xFF);
  const uint32_t black = Rgb(0, 0, 0);
  EXPECT_EQ(Mismatches(s, {{{2, 0}, ored},
                           {{3, 0}, ored},
                           {{0, 1}, black},
                           {{1, 1}, black},
                           {{2, 1}, black},
                           {{3, 1}, black}}),
            "");
}

TEST(BlitFill, ClipsAndStaysOpaque) {
  Surface s(3, 3, kBackground);
  FillPiece(s, {-1, -1, 2, 2}, 0x00123456u);
  FillPiece(s, {2, 2, 5, 5}, Rgb(1, 2, 3));
  FillPiece(s, {1, 0, 0, 3}, Rgb(9, 9, 9));
  EXPECT_EQ(Mismatches(s, {{{0, 0}, 0xFF123456u}, {{2, 2}, Rgb(1, 2, 3)}}), "");
}

}  // namespace
}  // namespace zcd
