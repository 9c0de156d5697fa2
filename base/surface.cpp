#include "base/surface.h"

#include <algorithm>

namespace zcd {

Surface::Surface(int width, int height, uint32_t color)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, color | kOpaque) {}

void Surface::Fill(const Rect& rect, uint32_t color) {
  const int left = std::max(rect.x, 0);
  const int top = std::max(rect.y, 0);
  const int right = std::min(rect.x + rect.w, width_);
  const int bottom = std::min(rect.y + rect.h, height_);
  for (int y = top; y < bottom; ++y)
    std::fill(Row(y) + left, Row(y) + right, color | kOpaque);
}

}  // namespace zcd
