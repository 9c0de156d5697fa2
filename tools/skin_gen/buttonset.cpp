#include <array>

#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using layout::kButtonH;
using layout::kButtonRows;

enum class Transport { kEject, kPrevious, kNext, kStop, kPause, kPlay };

constexpr std::array<Transport, 6> kRowIcons{Transport::kEject, Transport::kPrevious,
                                             Transport::kNext,  Transport::kStop,
                                             Transport::kPause, Transport::kPlay};
constexpr std::array<ButtonLook, layout::kButtonStates> kColumnLooks{
    ButtonLook::kNormal, ButtonLook::kLit, ButtonLook::kPressed, ButtonLook::kPressedLit};

// Icons are drawn round the button's optical centre (cx, cy).
void DrawIcon(Canvas& canvas, Transport icon, double cx, double cy, uint32_t color) {
  switch (icon) {
    case Transport::kEject:
      FillTriangle(canvas, cx - 6.5, cy + 1.5, cx + 6.5, cy + 1.5, cx, cy - 5, color);
      canvas.Fill({static_cast<int>(cx - 6.5), static_cast<int>(cy) + 3, 13, 2}, color);
      break;
    case Transport::kPrevious:
      canvas.Fill({static_cast<int>(cx - 5.5), static_cast<int>(cy) - 5, 2, 10}, color);
      FillTriangle(canvas, cx + 5, cy - 5, cx + 5, cy + 5, cx - 3, cy, color);
      break;
    case Transport::kNext:
      canvas.Fill({static_cast<int>(cx + 3.5), static_cast<int>(cy) - 5, 2, 10}, color);
      FillTriangle(canvas, cx - 5, cy - 5, cx - 5, cy + 5, cx + 3, cy, color);
      break;
    case Transport::kStop:
      canvas.Fill({static_cast<int>(cx) - 4, static_cast<int>(cy) - 4, 9, 9}, color);
      break;
    case Transport::kPause:
      canvas.Fill({static_cast<int>(cx) - 4, static_cast<int>(cy) - 5, 3, 10}, color);
      canvas.Fill({static_cast<int>(cx) + 2, static_cast<int>(cy) - 5, 3, 10}, color);
      break;
    case Transport::kPlay:
      FillTriangle(canvas, cx - 4, cy - 6, cx - 4, cy + 6, cx + 6, cy, color);
      break;
  }
}

}  // namespace

Bitmap MakeButtonset() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kButtonset);
  Bitmap bitmap(info.width, info.height, palette::kBlack);
  Canvas canvas(bitmap);
  for (size_t row = 0; row < kButtonRows.size(); ++row) {
    const layout::ButtonRow& button = kButtonRows[row];
    for (size_t column = 0; column < kColumnLooks.size(); ++column) {
      const ButtonLook look = kColumnLooks[column];
      const Rect r{static_cast<int>(column) * (button.w + 1), button.y, button.w, kButtonH};
      DrawButtonFace(canvas, r, look);
      const int shift = IsPressed(look) ? 1 : 0;
      DrawIcon(canvas, kRowIcons[row], r.x + button.w / 2.0 + shift, r.y + 12.0 + shift,
               IconColor(look));
    }
  }
  return bitmap;
}

}  // namespace zcd::skin_gen
