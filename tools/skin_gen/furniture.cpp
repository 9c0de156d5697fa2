#include "tools/skin_gen/furniture.h"

#include <algorithm>
#include <cmath>

#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {

using namespace palette;

void DrawBodyPlate(Canvas& canvas, const Rect& r) {
  canvas.VerticalGradient(r, kBodyTop, kBodyBottom);
  canvas.Bevel(r, kBodyHighlight, kBodyShadow);
}

void DrawGlass(Canvas& canvas, const Rect& interior) {
  canvas.Fill(interior, kGlass);
  const Rect inner{interior.x - 1, interior.y - 1, interior.w + 2, interior.h + 2};
  const Rect outer{interior.x - 2, interior.y - 2, interior.w + 4, interior.h + 4};
  canvas.Bevel(outer, kBezelOuter, kBezelLip);
  canvas.Bevel(inner, kBodyShadow, kBezelInner);
}

void DrawTray(Canvas& canvas, const Rect& inside) {
  canvas.Fill(inside, kTrayFloor);
  canvas.Bevel({inside.x - 1, inside.y - 1, inside.w + 2, inside.h + 2}, kBodyShadow,
               kBodyHighlight);
}

void DrawButtonFace(Canvas& canvas, const Rect& r, ButtonLook look) {
  const bool pressed = IsPressed(look);
  const bool lit = IsLit(look);
  uint32_t top = lit ? kButtonLitTop : kButtonTop;
  uint32_t bottom = lit ? kButtonLitBottom : kButtonBottom;
  if (pressed) {
    top = kButtonPressedTop;
    bottom = lit ? Mix(kButtonPressedBottom, kLit, 1, 10) : kButtonPressedBottom;
  }
  const Rect face{r.x + 1, r.y + 1, r.w - 2, r.h - 2};
  canvas.Fill(r, kButtonEdge);
  canvas.VerticalGradient(face, top, bottom);
  if (pressed) {
    canvas.HLine(face.x, face.y, face.w, Mix(kButtonPressedTop, kBlack, 1, 2));
    canvas.VLine(face.x, face.y, face.h, Mix(kButtonPressedTop, kBlack, 1, 3));
  } else {
    canvas.HLine(face.x + 1, face.y, face.w - 2,
                 lit ? Mix(kButtonShine, kLit, 1, 3) : kButtonShine);
    canvas.HLine(face.x, face.y + face.h - 1, face.w, Mix(bottom, kBlack, 1, 3));
  }
  // Rounded corners: the corner pixels take the colour of what lies behind.
  const uint32_t corner = Mix(kButtonEdge, kBodyBottom, 1, 2);
  canvas.Set(r.x, r.y, corner);
  canvas.Set(r.x + r.w - 1, r.y, corner);
  canvas.Set(r.x, r.y + r.h - 1, corner);
  canvas.Set(r.x + r.w - 1, r.y + r.h - 1, corner);
  if (lit)
    canvas.RoundedFrame(r, 1, Mix(kButtonEdge, kLit, 2, 5));
}

uint32_t IconColor(ButtonLook look) {
  if (IsLit(look))
    return kLit;
  return IsPressed(look) ? Mix(kIcon, kBlack, 1, 5) : kIcon;
}

void FillTriangle(Canvas& canvas, double x0, double y0, double x1, double y1, double x2, double y2,
                  uint32_t color) {
  auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  const int left = static_cast<int>(std::floor(std::min({x0, x1, x2})));
  const int top = static_cast<int>(std::floor(std::min({y0, y1, y2})));
  const int right = static_cast<int>(std::ceil(std::max({x0, x1, x2})));
  const int bottom = static_cast<int>(std::ceil(std::max({y0, y1, y2})));
  canvas.Shape({left, top, right - left + 1, bottom - top + 1}, color, [&](double px, double py) {
    const double a = edge(x0, y0, x1, y1, px, py);
    const double b = edge(x1, y1, x2, y2, px, py);
    const double c = edge(x2, y2, x0, y0, px, py);
    return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
  });
}

void FillRing(Canvas& canvas, double cx, double cy, double inner, double outer, uint32_t color) {
  const int left = static_cast<int>(std::floor(cx - outer));
  const int top = static_cast<int>(std::floor(cy - outer));
  const int size = static_cast<int>(std::ceil(2 * outer)) + 2;
  canvas.Shape({left, top, size, size}, color, [&](double px, double py) {
    const double d2 = (px - cx) * (px - cx) + (py - cy) * (py - cy);
    return d2 <= outer * outer && d2 >= inner * inner;
  });
}

void FillDisc(Canvas& canvas, double cx, double cy, double radius, uint32_t color) {
  FillRing(canvas, cx, cy, 0, radius, color);
}

}  // namespace zcd::skin_gen
