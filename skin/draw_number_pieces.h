#pragma once

#include "base/rect.h"

namespace zcd {

// One size of digit in "numberset.bmp": digits 0..9 side by side from x at a
// fixed pitch, a lit row and a dim row.
struct DigitStrip {
  int x;
  int lit_y;
  int dim_y;
  int w;
  int h;
  int pitch;
};

inline constexpr DigitStrip kLargeDigits{0, 0, 14, 13, 13, 14};
inline constexpr DigitStrip kMediumDigits{0, 28, 42, 7, 13, 8};
inline constexpr DigitStrip kTinyDigits{80, 28, 37, 5, 8, 6};

// digit is 0..9.
constexpr Rect DigitPiece(const DigitStrip& strip, int digit, bool lit) {
  return {strip.x + digit * strip.pitch, lit ? strip.lit_y : strip.dim_y, strip.w, strip.h};
}

}  // namespace zcd
