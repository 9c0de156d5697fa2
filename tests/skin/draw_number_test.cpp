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

TEST(DrawNumberTest, ValuesInEveryStyle) {
  const Bitmap numberset = test::NamedSheet(139, 55, kTag);
  // A skin numberset that stops after the digit 1.
  const Bitmap narrow = test::NamedSheet(16, 55, kTag);
  const struct {
    const char* name;
    int value;
    bool lit;
    NumberStyle style;
    int x, y;
    std::vector<Piece> want;
    const Bitmap* source = nullptr;
    int w = 80, h = 30;  // the window's size
  } cases[] = {          // Large style: two medium digits; one digit a pixel in and down, large.
               {"47 lit", 47, true, kLarge, 5, 3, {{5, 3, 32, 28, 7, 13}, {12, 3, 56, 28, 7, 13}}},
               {"10 dim", 10, false, kLarge, 0, 10, {{0, 10, 8, 42, 7, 13}, {7, 10, 0, 42, 7, 13}}},
               {"the last two digits",
                123,
                true,
                kLarge,
                0,
                0,
                {{0, 0, 16, 28, 7, 13}, {7, 0, 24, 28, 7, 13}}},
               {"negative as zero", -5, true, kLarge, 30, 0, {{31, 1, 0, 0, 13, 13}}},
               // Small style: every digit, six apart.
               {"305 dim",
                305,
                false,
                kSmall,
                4,
                20,
                {{4, 20, 98, 37, 5, 8}, {10, 20, 80, 37, 5, 8}, {16, 20, 110, 37, 5, 8}}},
               {"clipped at the window edge",
                8,
                true,
                kSmall,
                6,
                5,
                {{6, 5, 128, 28, 4, 5}},
                nullptr,
                10,
                10},
               {"1 but nothing for 9", 19, true, kLarge, 0, 0, {{0, 0, 8, 28, 7, 13}}, &narrow}};
  for (const auto& c : cases) {
    Surface s(c.w, c.h, kBackground);
    DrawNumber(s, c.x, c.y, c.value, c.lit, c.style, c.source ? *c.source : numberset);
    EXPECT_EQ(Mismatches(s, c.want), "") << c.name;
  }

  for (int digit = 0; digit <= 9; ++digit) {
    for (const bool lit : {true, false}) {
      Surface s(30, 20, kBackground);
      DrawNumber(s, 2, 3, digit, lit, kLarge, numberset);
      EXPECT_EQ(Mismatches(s, {{3, 4, digit * 14, lit ? 0 : 14, 13, 13}}), "")
          << digit << (lit ? " lit" : " dim");
    }
  }
  Surface s(80, 30, kBackground);
  DrawNumber(s, 2, 1, 1234567890, true, kSmall, numberset);
  std::vector<Piece> want;
  for (int i = 0; i < 10; ++i)
    want.push_back({2 + 6 * i, 1, 80 + (i + 1) % 10 * 6, 28, 5, 8});
  EXPECT_EQ(Mismatches(s, want), "");
}

}  // namespace
}  // namespace zcd
