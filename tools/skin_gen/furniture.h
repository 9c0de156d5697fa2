#pragma once

#include <cstdint>

#include "tools/skin_gen/canvas.h"

namespace zcd::skin_gen {

// The four looks of a push button.
enum class ButtonLook { kNormal, kLit, kPressed, kPressedLit };

constexpr bool IsPressed(ButtonLook look) {
  return look == ButtonLook::kPressed || look == ButtonLook::kPressedLit;
}
constexpr bool IsLit(ButtonLook look) {
  return look == ButtonLook::kLit || look == ButtonLook::kPressedLit;
}

// Graphite background with a one-pixel bevel round the whole of `r`.
void DrawBodyPlate(Canvas& canvas, const Rect& r);

// Black glass: `interior` is left black, a dark blue bezel is drawn in the
// two pixels round it.
void DrawGlass(Canvas& canvas, const Rect& interior);

// A recessed tray the buttons sit in: `inside` dark, a bevel one pixel out.
void DrawTray(Canvas& canvas, const Rect& inside);

// A rounded push button filling `r`.
void DrawButtonFace(Canvas& canvas, const Rect& r, ButtonLook look);

// Icon colour for a button look.
uint32_t IconColor(ButtonLook look);

// Anti-aliased filled triangle and disc.
void FillTriangle(Canvas& canvas, double x0, double y0, double x1, double y1, double x2, double y2,
                  uint32_t color);
void FillDisc(Canvas& canvas, double cx, double cy, double radius, uint32_t color);
void FillRing(Canvas& canvas, double cx, double cy, double inner, double outer, uint32_t color);

}  // namespace zcd::skin_gen
