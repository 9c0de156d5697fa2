#pragma once

#include "base/bitmap.h"
#include "base/surface.h"

namespace zcd {

enum class NumberStyle {
  kLarge,  // two medium digits from 10 up, one large digit below 10
  kSmall,  // tiny digits, as many as the value has
};

// Copies the digits of value from the numberset bitmap with their top-left at
// x,y; lit picks the lit row, otherwise the dim row. The large style has room for
// two digits only and shows the last two of a larger value; a negative value is
// shown as 0 because the digit strips have no minus sign.
void DrawNumber(Surface& target, int x, int y, int value, bool lit, NumberStyle style,
                const Bitmap& numberset);

}  // namespace zcd
