#include <cmath>
#include <numbers>

#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;

// The idle sprite: a disc seen face on, its data side catching the light in
// bands of cyan and violet. Black is transparent, so the hole stays black and
// nothing inside the disc is.
constexpr double kCx = 40.5;
constexpr double kCy = 31.0;
constexpr double kOuter = 30.0;
constexpr double kData = 28.5;
constexpr double kClamp = 11.0;
constexpr double kHole = 4.5;

uint32_t Sheen(double angle) {
  // Two bright lobes opposite each other, as light falls on a disc.
  const double lobe = std::pow(std::fabs(std::cos(angle - 0.7)), 6.0);
  const double tint = (std::sin(angle * 2.0) + 1.0) / 2.0;
  const uint32_t base =
      Mix(Rgb(0x2A, 0x6A, 0xA8), Rgb(0x6A, 0x48, 0xB8), static_cast<int>(tint * 64), 64);
  return Mix(base, Rgb(0xD8, 0xFA, 0xFF), static_cast<int>(lobe * 64), 64);
}

}  // namespace

Bitmap MakeZgraphic() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kZgraphic);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  FillDisc(canvas, kCx, kCy, kOuter, Rgb(0xB8, 0xC4, 0xD0));
  // Data area, coloured by angle one 1/128 turn at a time.
  for (int step = 0; step < 128; ++step) {
    const double a0 = 2 * std::numbers::pi * step / 128;
    const double a1 = 2 * std::numbers::pi * (step + 1) / 128;
    const uint32_t color = Sheen((a0 + a1) / 2);
    canvas.Shape({0, 0, info.width, info.height}, color, [&](double x, double y) {
      const double dx = x - kCx;
      const double dy = y - kCy;
      const double d2 = dx * dx + dy * dy;
      if (d2 > kData * kData || d2 < (kClamp + 2) * (kClamp + 2))
        return false;
      double a = std::atan2(dy, dx);
      if (a < 0)
        a += 2 * std::numbers::pi;
      return a >= a0 && a < a1;
    });
  }
  // Faint grooves.
  for (double r = 15.5; r < kData; r += 4.0)
    FillRing(canvas, kCx, kCy, r, r + 0.35, Rgb(0x9C, 0xE0, 0xF0));
  FillRing(canvas, kCx, kCy, kClamp, kClamp + 2, Rgb(0x5A, 0x66, 0x74));
  FillDisc(canvas, kCx, kCy, kClamp, Rgb(0x9A, 0xA6, 0xB4));
  FillRing(canvas, kCx, kCy, kHole + 1.5, kHole + 2.5, Rgb(0xE0, 0xE8, 0xF0));
  // The hole: fully black, so it shows the box behind.
  for (int y = 0; y < info.height; ++y)
    for (int x = 0; x < info.width; ++x) {
      const double dx = x + 0.5 - kCx;
      const double dy = y + 0.5 - kCy;
      if (dx * dx + dy * dy <= kHole * kHole)
        canvas.Set(x, y, kBlack);
    }
  return bitmap;
}

}  // namespace zcd::skin_gen
