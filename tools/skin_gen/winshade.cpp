#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;
using namespace layout;

// The slot's background is taken from one row lower than the slot stands, so
// the glass is black from row 3 to row 15.
constexpr Rect kShadeTimerColon{232, 5, 1, 1};

}  // namespace

Bitmap MakeWinshade(const Bitmap& widgitset) {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kWinshade);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  canvas.VerticalGradient(kShade, kTitleTop, kBodyBottom);
  canvas.Bevel(kShade, kBodyHighlight, kBodyShadow);

  FillDisc(canvas, 8.5, 8.5, 5.0, kDim);
  FillDisc(canvas, 8.5, 8.5, 4.0, Rgb(0x15, 0x2A, 0x33));
  FillRing(canvas, 8.5, 8.5, 2.6, 3.4, kLit);
  FillDisc(canvas, 8.5, 8.5, 1.0, kBlack);

  DrawTray(canvas, kShadeButtonsAt);
  DrawGlass(canvas, kShadeGlass);
  // A rule between the text and the timer, past the slot's right end.
  canvas.VLine(kShadeSlotAt.x + kShadeSlotAt.w + 1, kShadeGlass.y + 1, kShadeGlass.h - 2,
               kBezelInner);
  const uint32_t colon = Mix(kDim, kLit, 1, 2);
  canvas.Fill(kShadeTimerColon, colon);
  canvas.Fill({kShadeTimerColon.x, kShadeTimerColon.y + 3, 1, 1}, colon);

  canvas.Blit(kMinimizeAt.x, kMinimizeAt.y, widgitset, kMinimizeUp);
  canvas.Blit(kCloseAt.x, kCloseAt.y, widgitset, kCloseUp);
  return bitmap;
}

}  // namespace zcd::skin_gen
