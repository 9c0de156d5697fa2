#include "skin/menu_banner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/pixels.h"

namespace zcd {
namespace {

// The sheet is taller than 256 rows, so the row's high bits go into the
// blue byte: a filler row can never pass for a banner row.
uint32_t SheetPixel(int x, int y) {
  return Rgb(static_cast<uint32_t>(x), static_cast<uint32_t>(y) & 0xFF,
             0x40 | static_cast<uint32_t>(y >> 8));
}

Bitmap Sheet(int w, int h) {
  Bitmap sheet(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      sheet.At(x, y) = SheetPixel(x, y);
  return sheet;
}

// A piece of the sheet that must appear with its top-left corner at row y.
struct Piece {
  int y;
  Rect from;
};

test::Pixels Want(const std::vector<Piece>& pieces) {
  test::Pixels want;
  for (const Piece& piece : pieces) {
    for (int j = 0; j < piece.from.h; ++j)
      for (int i = 0; i < piece.from.w; ++i)
        want[{i, piece.y + j}] = SheetPixel(piece.from.x + i, piece.from.y + j);
  }
  return want;
}

TEST(MenuBannerTest, BannerFromTheTopAndFillerTiledBelow) {
  const Bitmap sheet = Sheet(47, 444);
  const Rect tall = kMenuBannerTall;
  const Rect shorter = kMenuBannerShort;
  const Rect filler = kMenuBannerFiller;
  const struct {
    const char* name;
    int graphic;
    int height;
    std::vector<Piece> want;
  } cases[] = {
      {"short menu cuts the tall banner", 1, 60, {{0, tall}}},
      {"menu as tall as the short banner", 2, 110, {{0, shorter}}},
      {"one row more starts the filler", 2, 111, {{0, shorter}, {110, filler}}},
      {"last tile cut off", 2, 200, {{0, shorter}, {110, filler}, {141, filler}, {172, filler}}},
      {"tall banner, then filler", 1, 472, {{0, tall}, {410, filler}, {441, filler}}},
  };
  for (const auto& c : cases) {
    const Surface strip = MenuBannerStrip(sheet, c.graphic, c.height);
    ASSERT_EQ(strip.width(), kMenuBannerWidth) << c.name;
    ASSERT_EQ(strip.height(), c.height) << c.name;
    EXPECT_EQ(test::PixelMismatches(strip, Want(c.want), kOpaque), "") << c.name;
  }
}

TEST(MenuBannerTest, UnknownItemsAndSmallSheets) {
  const Bitmap sheet = Sheet(47, 444);
  EXPECT_EQ(MenuBannerStrip(sheet, 0, 100).width(), 0);
  EXPECT_EQ(MenuBannerStrip(sheet, 3, 100).width(), 0);
  EXPECT_EQ(MenuBannerStrip(sheet, 1, 0).width(), 0);

  // A skin's own sheet may be any size: what it lacks stays black. This one
  // holds six columns of the short banner, the tall one cut at row 120 and
  // no filler.
  const Bitmap narrow = Sheet(30, 120);
  const Rect short_part{kMenuBannerShort.x, kMenuBannerShort.y, 6, kMenuBannerShort.h};
  EXPECT_EQ(
      test::PixelMismatches(MenuBannerStrip(narrow, 2, 150), Want({{0, short_part}}), kOpaque), "");
  EXPECT_EQ(test::PixelMismatches(MenuBannerStrip(narrow, 1, 150),
                                  Want({{0, {0, 0, kMenuBannerWidth, 120}}}), kOpaque),
            "");
}

}  // namespace
}  // namespace zcd
