#include "skin/draw_number.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/pixels.h"

namespace zcd {
namespace {

constexpr uint32_t kBackground = Rgb(0xEE, 0xEE, 0xEE);
constexpr uint32_t kTag = 0x55;
constexpr NumberStyle kLarge = NumberStyle::kLarge;
constexpr NumberStyle kSmall = NumberStyle::kSmall;

// A w x h piece of the numberset that must appear with its top-left at x,y.
struct Piece {
  int x, y, source_x, source_y, w, h;
};

std::string Mismatches(const Surface& s, const std::vector<Piece>& pieces) {
  test::Pixels want;
  for (const Piece& p : pieces)
    want = test::PlacedPiece(p.x, p.y, {p.source_x, p.source_y, p.w, p.h}, kTag, want);
  return test::PixelMismatches(s, want, kBackground);
}

// Every digit in every style is pinned by the digits golden image; these
// are the placements, cuts and clips around it.
TEST(DrawNumberTest, ValuesInEveryStyle) {
  const Bitmap numberset = test::NamedSheet(139, 55, kTag);
  const Bitmap narrow = test::NamedSheet(16, 55, kTag);  // stops after the digit 1
  const struct {
    const char* name;
    int value;
    bool lit;
    NumberStyle style;
    Point at;
    std::vector<Piece> want;
    const Bitmap* source = nullptr;
    int w = 80, h = 30;  // the window's size
  } cases[] = {
      // Large style: two medium digits; one digit a pixel in and down, large.
      {"47 lit", 47, true, kLarge, {5, 3}, {{5, 3, 32, 28, 7, 13}, {12, 3, 56, 28, 7, 13}}},
      {"10 dim", 10, false, kLarge, {0, 10}, {{0, 10, 8, 42, 7, 13}, {7, 10, 0, 42, 7, 13}}},
      {"last two", 123, true, kLarge, {0, 0}, {{0, 0, 16, 28, 7, 13}, {7, 0, 24, 28, 7, 13}}},
      {"negative as zero", -5, true, kLarge, {30, 0}, {{31, 1, 0, 0, 13, 13}}},
      // Small style: every digit, six apart.
      {"305 dim",
       305,
       false,
       kSmall,
       {4, 20},
       {{4, 20, 98, 37, 5, 8}, {10, 20, 80, 37, 5, 8}, {16, 20, 110, 37, 5, 8}}},
      {"clipped", 8, true, kSmall, {6, 5}, {{6, 5, 128, 28, 4, 5}}, nullptr, 10, 10},
      {"1 but nothing for 9", 19, true, kLarge, {0, 0}, {{0, 0, 8, 28, 7, 13}}, &narrow}};
  for (const auto& c : cases) {
    Surface s(c.w, c.h, kBackground);
    DrawNumber(s, c.at.x, c.at.y, c.value, c.lit, c.style, c.source ? *c.source : numberset);
    EXPECT_EQ(Mismatches(s, c.want), "") << c.name;
  }
}

}  // namespace
}  // namespace zcd
