#include "skin/draw_number.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace zcd {
namespace {

constexpr uint32_t kBackground = Rgb(0xEE, 0xEE, 0xEE);

// Every pixel of the synthetic numberset names its own position, so a piece
// taken from the wrong place cannot match.
constexpr uint32_t N(int x, int y) {
  return Rgb(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0x55);
}

Bitmap Numberset() {
  Bitmap b(139, 55);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x)
      b.At(x, y) = N(x, y);
  return b;
}

// A w x h piece of the numberset that must appear with its top-left at x,y.
struct Placed {
  int x, y, source_x, source_y, w, h;
};

std::string Mismatches(const Surface& s, const std::vector<Placed>& placed) {
  std::vector<uint32_t> want(static_cast<size_t>(s.width()) * s.height(), kBackground);
  for (const Placed& p : placed)
    for (int j = 0; j < p.h; ++j)
      for (int i = 0; i < p.w; ++i)
        want[static_cast<size_t>(p.y + j) * s.width() + p.x + i] =
            N(p.source_x + i, p.source_y + j);
  std::string out;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const uint32_t w = want[static_cast<size_t>(y) * s.width() + x];
      if (s.At(x, y) != w && out.size() < 400) {
        char line[80];
        std::snprintf(line, sizeof line, "(%d,%d) is %08X, want %08X\n", x, y, s.At(x, y), w);
        out += line;
      }
    }
  }
  return out;
}

class DrawNumberTest : public ::testing::Test {
 protected:
  const Bitmap numberset_ = Numberset();
  Surface s_{80, 30, kBackground};
};

TEST_F(DrawNumberTest, LargeTwoDigitValuesUseMediumDigits) {
  DrawNumber(s_, 5, 3, 47, true, NumberStyle::kLarge, numberset_);
  EXPECT_EQ(Mismatches(s_, {{5, 3, 32, 28, 7, 13}, {12, 3, 56, 28, 7, 13}}), "");

  Surface dim(80, 30, kBackground);
  DrawNumber(dim, 0, 10, 10, false, NumberStyle::kLarge, numberset_);
  EXPECT_EQ(Mismatches(dim, {{0, 10, 8, 42, 7, 13}, {7, 10, 0, 42, 7, 13}}), "");
}

TEST_F(DrawNumberTest, LargeSingleDigitsSitOneInAndOneDown) {
  for (int digit = 0; digit <= 9; ++digit) {
    for (const bool lit : {true, false}) {
      Surface s(30, 20, kBackground);
      DrawNumber(s, 2, 3, digit, lit, NumberStyle::kLarge, numberset_);
      EXPECT_EQ(Mismatches(s, {{3, 4, digit * 14, lit ? 0 : 14, 13, 13}}), "")
          << digit << (lit ? " lit" : " dim");
    }
  }
}

TEST_F(DrawNumberTest, LargeShowsTheLastTwoDigitsAndNegativesAsZero) {
  DrawNumber(s_, 0, 0, 123, true, NumberStyle::kLarge, numberset_);
  DrawNumber(s_, 30, 0, -5, true, NumberStyle::kLarge, numberset_);
  EXPECT_EQ(Mismatches(s_, {{0, 0, 16, 28, 7, 13}, {7, 0, 24, 28, 7, 13}, {31, 1, 0, 0, 13, 13}}),
            "");
}

TEST_F(DrawNumberTest, SmallDrawsEveryDigitSixApart) {
  DrawNumber(s_, 2, 1, 1234567890, true, NumberStyle::kSmall, numberset_);
  DrawNumber(s_, 4, 20, 305, false, NumberStyle::kSmall, numberset_);
  std::vector<Placed> want;
  const int lit_digits[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
  for (int i = 0; i < 10; ++i)
    want.push_back({2 + 6 * i, 1, 80 + lit_digits[i] * 6, 28, 5, 8});
  want.push_back({4, 20, 98, 37, 5, 8});
  want.push_back({10, 20, 80, 37, 5, 8});
  want.push_back({16, 20, 110, 37, 5, 8});
  EXPECT_EQ(Mismatches(s_, want), "");
}

TEST_F(DrawNumberTest, ClipsAtTheWindowEdgeAndOnASmallBitmap) {
  Surface s(10, 10, kBackground);
  DrawNumber(s, 6, 5, 8, true, NumberStyle::kSmall, numberset_);
  EXPECT_EQ(Mismatches(s, {{6, 5, 128, 28, 4, 5}}), "");

  // A skin numberset that stops after the digit 1 still draws 1 and nothing for 9.
  Bitmap narrow(16, 55);
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 16; ++x)
      narrow.At(x, y) = N(x, y);
  Surface t(30, 20, kBackground);
  DrawNumber(t, 0, 0, 19, true, NumberStyle::kLarge, narrow);
  EXPECT_EQ(Mismatches(t, {{0, 0, 8, 28, 7, 13}}), "");
}

}  // namespace
}  // namespace zcd
