#include <utility>

#include "skin/skin_files.h"
#include "tools/skin_gen/furniture.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;
using namespace layout;

// The track number is copied over the cell with its black background, so the
// middle of every cell (3..17 both ways) stays black; only the rim shows the
// state.
constexpr int kCellRim = 3;

void DrawCell(Canvas& canvas, const Rect& r, int rim, bool lit, bool held) {
  // Lit cells glow cyan; a held cell is the one being dragged, so it stands
  // out brightest with its well pushed in.
  uint32_t edge = lit ? Mix(kDim, kLit, 1, 2) : Rgb(0x3A, 0x41, 0x4B);
  uint32_t top = lit ? Rgb(0x2A, 0x4C, 0x58) : Rgb(0x2E, 0x33, 0x3B);
  uint32_t bottom = lit ? Rgb(0x17, 0x2C, 0x35) : Rgb(0x1A, 0x1D, 0x22);
  if (held) {
    edge = lit ? kLit : Rgb(0x55, 0x5E, 0x6A);
    std::swap(top, bottom);
  }
  canvas.RoundedFill(r, 2, edge);
  const Rect face{r.x + 1, r.y + 1, r.w - 2, r.h - 2};
  canvas.VerticalGradient(face, top, bottom);
  canvas.Fill({r.x + rim, r.y + rim, r.w - 2 * rim, r.h - 2 * rim}, kBlack);
  const Rect well{r.x + rim - 1, r.y + rim - 1, r.w - 2 * rim + 2, r.h - 2 * rim + 2};
  if (held)
    canvas.Bevel(well, kBlack, Mix(edge, kBlack, 1, 2));
  else
    canvas.Bevel(well, Mix(bottom, kBlack, 1, 2), Mix(top, edge, 1, 2));
  canvas.Set(r.x, r.y, kBlack);
  canvas.Set(r.x + r.w - 1, r.y, kBlack);
  canvas.Set(r.x, r.y + r.h - 1, kBlack);
  canvas.Set(r.x + r.w - 1, r.y + r.h - 1, kBlack);
}

// Overlays are ORed over the cell and its number: black stays out of the way.
void DrawRemoved(Canvas& canvas, const Rect& r) {
  for (int i = 0; i < 15; ++i) {
    canvas.Set(r.x + 3 + i, r.y + 3 + i, kAlert);
    canvas.Set(r.x + 4 + i, r.y + 3 + i, kAlert);
    canvas.Set(r.x + 17 - i, r.y + 3 + i, kAlert);
    canvas.Set(r.x + 16 - i, r.y + 3 + i, kAlert);
  }
}

void DrawDataMark(Canvas& canvas, const Rect& r) {
  // A folded corner and an underline: the entry is not music.
  canvas.Art(r.x + 13, r.y + 1, {"######", ".#####", "..####", "...###", "....##", ".....#"},
             kAccent);
  canvas.HLine(r.x + 4, r.y + 18, 13, kAccent);
}

void DrawCopyMark(Canvas& canvas, const Rect& r) {
  canvas.Art(r.x + 1, r.y + 1, {"..#..", "..#..", "#####", "..#..", "..#.."},
             Rgb(0x7D, 0xFF, 0x9E));
}

void DrawArrow(Canvas& canvas, const Rect& r, bool up, ButtonLook look, bool enabled) {
  if (enabled) {
    DrawButtonFace(canvas, r, look);
  } else {
    canvas.Fill(r, kButtonEdge);
    canvas.Fill({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, Rgb(0x1E, 0x21, 0x26));
  }
  const uint32_t color = enabled ? IconColor(look) : Rgb(0x3A, 0x40, 0x48);
  const int o = IsPressed(look) ? 1 : 0;
  const int x = r.x + 12 + o;
  const int y = r.y + 3 + o;
  if (up)
    canvas.Art(x, y, {"...#...", "..###..", ".#####.", "#######"}, color);
  else
    canvas.Art(x, y, {"#######", ".#####.", "..###..", "...#..."}, color);
}

void DrawShadeCell(Canvas& canvas, const Rect& r, bool lit, bool held) {
  const uint32_t edge = lit ? Mix(kDim, kLit, 1, 2) : Rgb(0x3A, 0x41, 0x4B);
  canvas.Fill(r, edge);
  canvas.Fill({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, kBlack);
  if (held) {
    canvas.HLine(r.x + 1, r.y + 1, r.w - 2, Mix(edge, kBlack, 1, 2));
    canvas.VLine(r.x + 1, r.y + 1, r.h - 2, Mix(edge, kBlack, 1, 2));
  }
}

}  // namespace

Bitmap MakeTrackset() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kTrackset);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  DrawCell(canvas, kCellLit, kCellRim, true, false);
  DrawCell(canvas, kCellNormal, kCellRim, false, false);
  DrawCell(canvas, kCellLitHeld, kCellRim, true, true);
  DrawCell(canvas, kCellHeld, kCellRim, false, true);
  DrawRemoved(canvas, kOverlayRemoved);
  DrawDataMark(canvas, kOverlayData);
  DrawCopyMark(canvas, kOverlayCopy);

  DrawArrow(canvas, kArrowUp, true, ButtonLook::kNormal, true);
  DrawArrow(canvas, kArrowUpPressed, true, ButtonLook::kPressedLit, true);
  DrawArrow(canvas, kArrowUpDisabled, true, ButtonLook::kNormal, false);
  DrawArrow(canvas, kArrowDown, false, ButtonLook::kNormal, true);
  DrawArrow(canvas, kArrowDownPressed, false, ButtonLook::kPressedLit, true);
  DrawArrow(canvas, kArrowDownDisabled, false, ButtonLook::kNormal, false);

  DrawShadeCell(canvas, kShadeCellLit, true, false);
  DrawShadeCell(canvas, kShadeCellLitHeld, true, true);
  DrawShadeCell(canvas, kShadeCellNormal, false, false);
  DrawShadeCell(canvas, kShadeCellHeld, false, true);
  return bitmap;
}

}  // namespace zcd::skin_gen
