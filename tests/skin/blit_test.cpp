#include "skin/blit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace zcd {
namespace {

constexpr uint32_t kBackground = Rgb(0x0F, 0xF0, 0x00);

// A pixel that names where it came from.
constexpr uint32_t P(int x, int y) {
  return Rgb(static_cast<uint32_t>(x + 1), static_cast<uint32_t>(y + 1), 0x80);
}

Bitmap Pattern(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.At(x, y) = P(x, y);
  return b;
}

using Pixels = std::map<std::pair<int, int>, uint32_t>;

// Lists every pixel that differs from `changed`, or from the background where
// `changed` says nothing.
std::string Mismatches(const Surface& s, const Pixels& changed) {
  std::string out;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const auto it = changed.find({x, y});
      const uint32_t want = it == changed.end() ? kBackground : it->second;
      if (s.At(x, y) != want) {
        char line[80];
        std::snprintf(line, sizeof line, "(%d,%d) is %08X, want %08X\n", x, y, s.At(x, y), want);
        out += line;
      }
    }
  }
  return out;
}

TEST(BlitCopy, WholeBitmapLandsAtItsPosition) {
  Surface s(6, 5, kBackground);
  CopyBitmap(s, 2, 1, Pattern(3, 2));
  EXPECT_EQ(Mismatches(s, {{{2, 1}, P(0, 0)},
                           {{3, 1}, P(1, 0)},
                           {{4, 1}, P(2, 0)},
                           {{2, 2}, P(0, 1)},
                           {{3, 2}, P(1, 1)},
                           {{4, 2}, P(2, 1)}}),
            "");
}

TEST(BlitCopy, ClipsAtEveryTargetEdge) {
  const Bitmap b = Pattern(4, 3);
  Surface top_left(6, 5, kBackground);
  CopyPiece(top_left, -1, -2, {1, 0, 3, 3}, b);
  EXPECT_EQ(Mismatches(top_left, {{{0, 0}, P(2, 2)}, {{1, 0}, P(3, 2)}}), "");

  Surface bottom_right(6, 5, kBackground);
  CopyPiece(bottom_right, 4, 3, {0, 0, 4, 3}, b);
  EXPECT_EQ(
      Mismatches(bottom_right,
                 {{{4, 3}, P(0, 0)}, {{5, 3}, P(1, 0)}, {{4, 4}, P(0, 1)}, {{5, 4}, P(1, 1)}}),
      "");

  Surface whole_window_covered(2, 1, kBackground);
  CopyPiece(whole_window_covered, -1, -1, {0, 0, 4, 3}, b);
  EXPECT_EQ(Mismatches(whole_window_covered, {{{0, 0}, P(1, 1)}, {{1, 0}, P(2, 1)}}), "");
}

TEST(BlitCopy, ClipsToTheSourceBitmapWithoutShifting) {
  const Bitmap b = Pattern(3, 2);
  Surface before(6, 5, kBackground);
  CopyPiece(before, 1, 1, {-1, -1, 3, 3}, b);
  EXPECT_EQ(
      Mismatches(before,
                 {{{2, 2}, P(0, 0)}, {{3, 2}, P(1, 0)}, {{2, 3}, P(0, 1)}, {{3, 3}, P(1, 1)}}),
      "");

  // A skin bitmap smaller than the geometry expects: only its own pixels show.
  Surface larger(6, 5, kBackground);
  CopyPiece(larger, 0, 0, {0, 0, 10, 10}, b);
  EXPECT_EQ(Mismatches(larger, {{{0, 0}, P(0, 0)},
                                {{1, 0}, P(1, 0)},
                                {{2, 0}, P(2, 0)},
                                {{0, 1}, P(0, 1)},
                                {{1, 1}, P(1, 1)},
                                {{2, 1}, P(2, 1)}}),
            "");

  Surface past_end(6, 5, kBackground);
  CopyPiece(past_end, 0, 0, {2, 1, 3, 3}, b);
  EXPECT_EQ(Mismatches(past_end, {{{0, 0}, P(2, 1)}}), "");
}

TEST(BlitCopy, DrawsNothingForEmptyOrDisjointPieces) {
  const Bitmap b = Pattern(3, 2);
  Surface s(6, 5, kBackground);
  CopyPiece(s, 1, 1, {0, 0, 0, 2}, b);
  CopyPiece(s, 1, 1, {0, 0, 2, -1}, b);
  CopyPiece(s, 1, 1, {3, 0, 2, 2}, b);
  CopyPiece(s, 1, 1, {0, -2, 2, 2}, b);
  CopyPiece(s, 6, 0, {0, 0, 3, 2}, b);
  CopyPiece(s, -3, 0, {0, 0, 3, 2}, b);
  CopyPiece(s, 0, 5, {0, 0, 3, 2}, b);
  CopyPiece(s, INT_MAX - 1, INT_MAX - 1, {0, 0, 3, 2}, b);
  CopyPiece(s, INT_MIN + 1, 0, {INT_MAX - 1, 0, INT_MAX, 2}, b);
  CopyBitmap(s, 0, 0, Bitmap());
  Surface empty;
  CopyBitmap(empty, 0, 0, b);
  EXPECT_EQ(Mismatches(s, {}), "");
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
  EXPECT_EQ(s.At(0, 0), kGrey);
  EXPECT_EQ(s.At(1, 0), kImage);
  EXPECT_EQ(s.At(2, 0), kGrey);

  // A mask with only part of it inside the bitmap draws only where it exists.
  SpritePiece(s, 0, 1, {0, 0, 2, 1}, 3, 0, b);
  EXPECT_EQ(s.At(0, 1), kGrey | kImage);
  EXPECT_EQ(s.At(1, 1), kGrey);

  Surface clipped(2, 1, kGrey);
  SpritePiece(clipped, -1, 0, {0, 0, 2, 1}, 2, 0, b);
  SpritePiece(clipped, 1, 0, {0, 0, 0, 1}, 2, 0, b);
  EXPECT_EQ(clipped.At(0, 0), kGrey);
  EXPECT_EQ(clipped.At(1, 0), kGrey);
}

TEST(BlitStretch, EnlargesByRepeatingPixels) {
  const Bitmap b = Pattern(3, 2);
  Surface s(6, 4, kBackground);
  StretchPiece(s, {0, 0, 6, 1}, {0, 0, 3, 1}, b);
  StretchPiece(s, {0, 1, 5, 1}, {0, 0, 3, 1}, b);  // 3 -> 5: columns 0,0,1,1,2
  StretchPiece(s, {5, 1, 1, 3}, {2, 0, 1, 2}, b);  // 2 -> 3 rows: 0,0,1
  EXPECT_EQ(Mismatches(s, {{{0, 0}, P(0, 0)},
                           {{1, 0}, P(0, 0)},
                           {{2, 0}, P(1, 0)},
                           {{3, 0}, P(1, 0)},
                           {{4, 0}, P(2, 0)},
                           {{5, 0}, P(2, 0)},
                           {{0, 1}, P(0, 0)},
                           {{1, 1}, P(0, 0)},
                           {{2, 1}, P(1, 0)},
                           {{3, 1}, P(1, 0)},
                           {{4, 1}, P(2, 0)},
                           {{5, 1}, P(2, 0)},
                           {{5, 2}, P(2, 0)},
                           {{5, 3}, P(2, 1)}}),
            "");
}

TEST(BlitStretch, ShrinksByKeepingTheFirstOfEachGroup) {
  const Bitmap b = Pattern(6, 4);
  Surface s(3, 2, kBackground);
  StretchPiece(s, {0, 0, 3, 2}, {0, 0, 6, 4}, b);
  EXPECT_EQ(Mismatches(s, {{{0, 0}, P(0, 0)},
                           {{1, 0}, P(2, 0)},
                           {{2, 0}, P(4, 0)},
                           {{0, 1}, P(0, 2)},
                           {{1, 1}, P(2, 2)},
                           {{2, 1}, P(4, 2)}}),
            "");
}

TEST(BlitStretch, ClipsWithoutMovingTheSamplingGrid) {
  const Bitmap b = Pattern(3, 1);
  Surface left(4, 1, kBackground);
  StretchPiece(left, {-2, 0, 6, 1}, {0, 0, 3, 1}, b);
  EXPECT_EQ(Mismatches(
                left, {{{0, 0}, P(1, 0)}, {{1, 0}, P(1, 0)}, {{2, 0}, P(2, 0)}, {{3, 0}, P(2, 0)}}),
            "");

  // The piece runs two columns past the bitmap: their samples draw nothing.
  Surface past_end(8, 1, kBackground);
  StretchPiece(past_end, {0, 0, 8, 1}, {1, 0, 4, 1}, b);
  EXPECT_EQ(
      Mismatches(past_end,
                 {{{0, 0}, P(1, 0)}, {{1, 0}, P(1, 0)}, {{2, 0}, P(2, 0)}, {{3, 0}, P(2, 0)}}),
      "");

  Surface before_start(4, 2, kBackground);
  StretchPiece(before_start, {0, 0, 4, 2}, {-1, -1, 2, 2}, b);
  EXPECT_EQ(Mismatches(before_start, {{{2, 1}, P(0, 0)}, {{3, 1}, P(0, 0)}}), "");

  Surface untouched(4, 2, kBackground);
  StretchPiece(untouched, {0, 0, 0, 2}, {0, 0, 3, 1}, b);
  StretchPiece(untouched, {0, 0, 4, 2}, {0, 0, 3, 0}, b);
  StretchPiece(untouched, {4, 0, 4, 2}, {0, 0, 3, 1}, b);
  StretchPiece(untouched, {0, 0, 4, 2}, {3, 0, 3, 1}, b);
  EXPECT_EQ(Mismatches(untouched, {}), "");
}

TEST(BlitStretch, CombinesWithTheRequestedOperation) {
  Bitmap b(2, 1);
  b.At(0, 0) = Rgb(0, 0, 0);
  b.At(1, 0) = Rgb(0x30, 0x0F, 0xFF);
  Surface s(4, 2, kBackground);
  StretchPiece(s, {0, 0, 4, 1}, {0, 0, 2, 1}, b, RasterOp::kOr);
  StretchPiece(s, {0, 1, 4, 1}, {0, 0, 2, 1}, b, RasterOp::kAnd);
  EXPECT_EQ(Mismatches(s, {{{2, 0}, Rgb(0x3F, 0xFF, 0xFF)},
                           {{3, 0}, Rgb(0x3F, 0xFF, 0xFF)},
                           {{0, 1}, Rgb(0, 0, 0)},
                           {{1, 1}, Rgb(0, 0, 0)},
                           {{2, 1}, Rgb(0, 0, 0)},
                           {{3, 1}, Rgb(0, 0, 0)}}),
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
