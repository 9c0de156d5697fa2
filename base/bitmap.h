#pragma once

#include <cstdint>
#include <vector>

#include "base/surface.h"

namespace zcd {

// An image in memory, 0xAARRGGBB per pixel with the alpha byte 0xFF: what a
// skin file decodes to and what the blitter copies from.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // row by row, top row first

  Bitmap() = default;
  Bitmap(int w, int h, uint32_t color = kOpaque)
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, color | kOpaque) {}

  bool Empty() const { return width <= 0 || height <= 0; }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  bool operator==(const Bitmap&) const = default;
};

}  // namespace zcd
