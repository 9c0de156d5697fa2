#include "app/edge_snap.h"

#include <cstdlib>

namespace zcd {
namespace {

// One axis: the window's start and length against the area's.
int Snap(int start, int length, int area_start, int area_length, int distance) {
  if (std::abs(start - area_start) < distance)
    return area_start;
  const int area_end = area_start + area_length;
  if (std::abs(start + length - area_end) < distance)
    return area_end - length;
  return start;
}

}  // namespace

Rect SnapToWorkArea(const Rect& wanted, const Rect& work, int distance) {
  return {Snap(wanted.x, wanted.w, work.x, work.w, distance),
          Snap(wanted.y, wanted.h, work.y, work.h, distance), wanted.w, wanted.h};
}

}  // namespace zcd
