#pragma once

#include <cstdint>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/surface.h"

namespace zcd {

// The timer's four digits, minutes and seconds, at the layout's places:
// large digits in full mode, tiny ones in the shade bar. Values past 99:59
// show as 99:59. The caller holds the surface's lock.
void DrawTimer(Surface& target, LayoutMode mode, int32_t seconds, bool lit,
               const Bitmap& numberset);

// The rectangle the timer covers in a layout.
Rect TimerRect(LayoutMode mode);

}  // namespace zcd
