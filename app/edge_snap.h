#pragma once

#include "base/rect.h"

namespace zcd {

// Where a window dragged to `wanted` comes to rest: an edge closer than
// `distance` pixels to the work area's edge of the same side snaps onto it,
// the left before the right and the top before the bottom. Screen pixels.
Rect SnapToWorkArea(const Rect& wanted, const Rect& work, int distance);

}  // namespace zcd
