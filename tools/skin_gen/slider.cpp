#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;

void DrawGroove(Canvas& canvas, const Rect& r) {
  canvas.Fill(r, kBodyBottom);
  // The slider sits right under the display; its top row carries on the
  // glass's lower lip.
  canvas.HLine(r.x, r.y, r.w, kBezelLip);
  // A channel three pixels high with a hairline of light down its middle.
  const Rect channel{r.x + 1, r.y + 3, r.w - 2, 4};
  canvas.Fill(channel, kBlack);
  canvas.HLine(channel.x, channel.y - 1, channel.w, kBodyShadow);
  canvas.HLine(channel.x, channel.y + channel.h, channel.w, kBodyHighlight);
  canvas.HLine(channel.x + 1, channel.y + 2, channel.w - 2, Mix(kOff, kBlack, 1, 3));
  // Ticks every tenth of the way, under the channel.
  for (int i = 0; i <= 10; ++i) {
    const int x = r.x + 15 + (r.w - 31) * i / 10;
    canvas.Set(x, r.y + 9, i % 5 == 0 ? kEngravingDim : Mix(kEngravingDim, kBodyBottom, 1, 2));
  }
}

void DrawThumb(Canvas& canvas, const Rect& r) {
  DrawButtonFace(canvas, r, ButtonLook::kNormal);
  // Grip: a lit notch in the middle.
  canvas.Fill({r.x + r.w / 2 - 1, r.y + 2, 2, r.h - 4}, kLit);
  canvas.VLine(r.x + r.w / 2 - 5, r.y + 3, r.h - 6, kButtonShine);
  canvas.VLine(r.x + r.w / 2 + 4, r.y + 3, r.h - 6, kButtonShine);
}

}  // namespace

Bitmap MakeSlider() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kSlider);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  DrawGroove(canvas, layout::kGroove);
  DrawThumb(canvas, layout::kThumb);
  return bitmap;
}

}  // namespace zcd::skin_gen
