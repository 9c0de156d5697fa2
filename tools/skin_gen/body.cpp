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

constexpr std::string_view kProductName = "ZENTARO CD";
constexpr int kNamePitch = 7;
// "CD" in the name is lit.
constexpr size_t kNameAccentFrom = 8;
// One display glass for timer, modes and both text lines, split by a rule.
constexpr Rect kMainGlass{9, 20, 204, 91};
constexpr int kGlassRuleY = 53;

void DrawDiscLogo(Canvas& canvas, double cx, double cy) {
  FillDisc(canvas, cx, cy, 5.0, kDim);
  FillDisc(canvas, cx, cy, 4.0, Rgb(0x15, 0x2A, 0x33));
  FillRing(canvas, cx, cy, 2.6, 3.4, kLit);
  FillDisc(canvas, cx, cy, 1.0, kBlack);
}

void DrawTitleStrip(Canvas& canvas) {
  canvas.VerticalGradient(kTitleStrip, kTitleTop, kTitleBottom);
  canvas.HLine(kTitleStrip.x, kTitleStrip.y + kTitleStrip.h, kTitleStrip.w, kBodyShadow);
  canvas.HLine(kTitleStrip.x, kTitleStrip.y + kTitleStrip.h + 1, kTitleStrip.w,
               Mix(kBodyTop, kBodyHighlight, 1, 2));
  DrawDiscLogo(canvas, kMenuHotspot.x + 6.5, kMenuHotspot.y + 5.5);

  const int name_w = static_cast<int>(kProductName.size()) * kNamePitch - 2;
  const int name_x = (kMinimizeAt.x + kMenuHotspot.x + kMenuHotspot.w - name_w) / 2;
  const int name_y = 5;
  int x = name_x;
  for (size_t i = 0; i < kProductName.size(); ++i) {
    const uint32_t color = i >= kNameAccentFrom ? kLit : kEngraving;
    DrawSmallGlyph(canvas, x, name_y, static_cast<unsigned char>(kProductName[i]), color);
    x += kNamePitch;
  }
  // Grip ridges either side of the name: the strip is where the window is
  // dragged.
  const int left_from = kMenuHotspot.x + kMenuHotspot.w + 6;
  const int right_to = kMinimizeAt.x - 6;
  for (int y : {6, 9}) {
    canvas.HLine(left_from, y, name_x - 8 - left_from, kBodyShadow);
    canvas.HLine(left_from, y + 1, name_x - 8 - left_from, Mix(kTitleTop, kBodyHighlight, 1, 2));
    canvas.HLine(name_x + name_w + 8, y, right_to - (name_x + name_w + 8), kBodyShadow);
    canvas.HLine(name_x + name_w + 8, y + 1, right_to - (name_x + name_w + 8),
                 Mix(kTitleTop, kBodyHighlight, 1, 2));
  }
}

void DrawTimerColon(Canvas& canvas) {
  const uint32_t color = Mix(kDim, kLit, 1, 2);
  canvas.Fill(kTimerColon, color);
  canvas.Fill({kTimerColon.x, kTimerColon.y + 5, kTimerColon.w, kTimerColon.h}, color);
}

}  // namespace

Bitmap MakeBody(const Bitmap& widgitset, const Bitmap& slider) {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kBody);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  DrawBodyPlate(canvas, kBody);
  DrawTitleStrip(canvas);
  canvas.Blit(kMinimizeAt.x, kMinimizeAt.y, widgitset, kMinimizeUp);
  canvas.Blit(kCloseAt.x, kCloseAt.y, widgitset, kCloseUp);

  DrawGlass(canvas, kMainGlass);
  canvas.HLine(kMainGlass.x + 3, kGlassRuleY, kMainGlass.w - 6, kBezelInner);
  DrawTimerColon(canvas);

  // The slider window covers this, but shade mode and start-up show the body
  // alone for a moment; keep the groove where the slider stands.
  canvas.Blit(kSliderAt.x, kSliderAt.y, slider, kGroove);

  DrawTray(canvas, kControlStripAt);
  DrawTray(canvas, kVolumeAt);

  DrawGlass(canvas, kTrackBoxAt);
  return bitmap;
}

}  // namespace zcd::skin_gen
