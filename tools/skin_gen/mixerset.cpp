#include <cmath>
#include <numbers>
#include <string_view>

#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/lettering.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;
using namespace layout;

// A dial is a disc round the point the knob pointer circles; the upper and
// lower faces of a pair are its two halves. The pointer's centre runs along
// an ellipse of about 25 x 23.5 pixels round (30, 28.5) of the pair.
struct Dial {
  double cx;
  double cy;
  double track_rx;
  double track_ry;
};

constexpr Dial kPairDial{30.0, 28.5, 25.5, 23.5};
constexpr Dial kBalanceDial{29.0, 28.5, 23.5, 23.0};
constexpr double kFaceRadius = 29.5;

// The value label (two tiny digits) lands at 25..35, 23..30 of a dial while
// its knob turns; scale and names keep clear of it.
struct Scale {
  double start_deg;  // screen angle, y down
  double end_deg;
  int ticks;
};

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

void DrawDisc(Canvas& canvas, int x, int y, const Dial& dial) {
  const double cx = x + dial.cx;
  const double cy = y + dial.cy;
  FillDisc(canvas, cx, cy, kFaceRadius, Rgb(0x2E, 0x33, 0x3B));
  FillDisc(canvas, cx, cy, kFaceRadius - 1, Rgb(0x1C, 0x1F, 0x24));
  // The middle is black like the value label's digits.
  FillDisc(canvas, cx, cy, kFaceRadius - 8.5, Rgb(0x2A, 0x2F, 0x36));
  FillDisc(canvas, cx, cy, kFaceRadius - 9.5, kBlack);
}

void DrawScale(Canvas& canvas, int x, int y, const Dial& dial, const Scale& scale) {
  for (int i = 0; i < scale.ticks; ++i) {
    const double a =
        Radians(scale.start_deg + (scale.end_deg - scale.start_deg) * i / (scale.ticks - 1));
    const double px = x + dial.cx + dial.track_rx * std::cos(a);
    const double py = y + dial.cy + dial.track_ry * std::sin(a);
    const bool end = i == 0 || i == scale.ticks - 1;
    const bool middle = i * 2 == scale.ticks - 1;
    FillDisc(canvas, px, py, end || middle ? 1.6 : 1.1, end || middle ? kLabel : kDim);
  }
}

void DrawCentredTiny(Canvas& canvas, int x, int y, std::string_view text, uint32_t color) {
  DrawTiny(canvas, x - TinyTextWidth(text) / 2, y, text, color);
}

void DrawPair(Canvas& canvas, int x, std::string_view upper, std::string_view lower) {
  // Each half is its own piece: draw the disc into both and let the halves
  // meet at row 28.
  DrawDisc(canvas, x, 0, kPairDial);
  DrawScale(canvas, x, 0, kPairDial, {200, 340, 11});
  DrawScale(canvas, x, 0, kPairDial, {160, 20, 11});
  const int cx = x + static_cast<int>(kPairDial.cx) + 1;
  DrawCentredTiny(canvas, cx, 14, upper, kLabel);
  DrawCentredTiny(canvas, cx, 37, lower, kLabel);
  // A hairline parts the two halves either side of the value label.
  canvas.HLine(x + 10, 27, 12, Rgb(0x24, 0x28, 0x2E));
  canvas.HLine(x + 40, 27, 12, Rgb(0x24, 0x28, 0x2E));
}

void DrawBalance(Canvas& canvas, int x) {
  DrawDisc(canvas, x, 0, kBalanceDial);
  DrawScale(canvas, x, 0, kBalanceDial, {150, 390, 13});
  const int cx = x + static_cast<int>(kBalanceDial.cx) + 1;
  DrawCentredTiny(canvas, cx, 14, "BAL", kLabel);
  DrawTiny(canvas, x + 14, 36, "L", kLabel);
  DrawTiny(canvas, x + 42, 36, "R", kLabel);
}

// Pointer: a lit bead. Its mask is white where the dial stays and black under
// the bead, so the bead's own pixels land on black.
void DrawPointer(Canvas& canvas) {
  const Rect image = kKnobPointer;
  const Rect mask = kKnobPointerMask;
  const double c = 6.5;
  FillDisc(canvas, image.x + c, image.y + c, 5.0, Rgb(0x1A, 0x6E, 0x82));
  FillDisc(canvas, image.x + c, image.y + c, 3.8, kLit);
  FillDisc(canvas, image.x + c - 0.8, image.y + c - 0.8, 1.8, kLitCore);
  for (int j = 0; j < image.h; ++j)
    for (int i = 0; i < image.w; ++i)
      canvas.Set(mask.x + i, mask.y + j,
                 (canvas.Get(image.x + i, image.y + j) & 0xFFFFFF) != 0 ? kBlack : kWhite);
}

void DrawVolumeTop(Canvas& canvas, const Rect& r, bool shown) {
  canvas.Fill(r, kBodyBottom);
  const ButtonLook look = shown ? ButtonLook::kPressedLit : ButtonLook::kNormal;
  const Rect button{r.x, r.y, r.w, 13};
  DrawButtonFace(canvas, button, look);
  const int o = shown ? 1 : 0;
  DrawCentredTiny(canvas, r.x + r.w / 2 + 1 + o, r.y + 4 + o, "MIXER", IconColor(look));
}

void DrawVolumeBar(Canvas& canvas, const Rect& r, bool shown) {
  canvas.Fill(r, kBodyBottom);
  // A wedge that grows to the right behind the thumb's path (x 1..32).
  const uint32_t wedge = shown ? kDim : Rgb(0x3A, 0x40, 0x48);
  for (int i = 0; i < 29; ++i) {
    const int h = 1 + i * 5 / 28;
    canvas.VLine(r.x + 3 + i, r.y + 8 - h, h, wedge);
  }
  canvas.HLine(r.x + 1, r.y + 8, 31, kBodyShadow);
}

void DrawVolumeThumb(Canvas& canvas) {
  const Rect image = kVolumeThumb;
  const Rect mask = kVolumeThumbMask;
  canvas.Art(image.x, image.y,
             {".###.", "#####", "#####", "##.##", "##.##", "##.##", "#####", "#####", ".###."},
             kIcon);
  canvas.Art(image.x, image.y,
             {".....", ".....", ".....", "..#..", "..#..", "..#..", ".....", ".....", "....."},
             kLit);
  for (int j = 0; j < image.h; ++j)
    for (int i = 0; i < image.w; ++i)
      canvas.Set(mask.x + i, mask.y + j,
                 (canvas.Get(image.x + i, image.y + j) & 0xFFFFFF) != 0 ? kBlack : kWhite);
}

}  // namespace

Bitmap MakeMixerset() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kMixerset);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  DrawPair(canvas, kMasterFace.x, "MASTER", "CD");
  DrawPair(canvas, kTrebleFace.x, "TREBLE", "BASS");
  DrawBalance(canvas, kBalanceFace.x);
  // The pair faces and the balance face abut; clear the gaps a dial spills
  // into so each piece holds only its own dial.
  canvas.Fill({kMasterFace.w, 0, 1, 56}, kBlack);
  canvas.Fill({kTrebleFace.x + kTrebleFace.w, 0, 1, 56}, kBlack);
  canvas.Fill(
      {kBalanceFace.x + kBalanceFace.w, 0, kKnobPointer.x - kBalanceFace.x - kBalanceFace.w, 56},
      kBlack);
  DrawPointer(canvas);
  DrawVolumeTop(canvas, kVolumeTopHidden, false);
  DrawVolumeBar(canvas, kVolumeBarHidden, false);
  DrawVolumeTop(canvas, kVolumeTopShown, true);
  DrawVolumeBar(canvas, kVolumeBarShown, true);
  DrawVolumeThumb(canvas);
  return bitmap;
}

}  // namespace zcd::skin_gen
