#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "base/rect.h"

namespace zcd {

// 0xAARRGGBB; the alpha byte is always 0xFF so presenting never shows through.
inline constexpr uint32_t kOpaque = 0xFF000000u;
inline constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return kOpaque | (r << 16) | (g << 8) | b;
}

// A window's 32-bit framebuffer in skin pixels. Threads that draw into it
// hold lock() while they do.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, uint32_t color = kOpaque);
  // The lock belongs to the object, not to the picture: copies get their own.
  Surface(const Surface& other)
      : width_(other.width_), height_(other.height_), pixels_(other.pixels_) {}
  Surface& operator=(const Surface& other) {
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    return *this;
  }

  int width() const { return width_; }
  int height() const { return height_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }

  // Clipped to the surface.
  void Fill(const Rect& rect, uint32_t color);
  std::mutex& lock() const { return lock_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  mutable std::mutex lock_;
};

}  // namespace zcd
