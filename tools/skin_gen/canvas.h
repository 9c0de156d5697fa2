#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "base/bitmap.h"
#include "base/rect.h"

namespace zcd::skin_gen {

// Colour arithmetic on 0xAARRGGBB values; results are always opaque.
uint32_t Mix(uint32_t a, uint32_t b, int b_weight, int total);

// Drawing on a skin bitmap. Everything clips to the bitmap and works in whole
// pixels or integer sub-pixel samples, so the output is the same on every run.
class Canvas {
 public:
  explicit Canvas(Bitmap& bitmap) : bitmap_(bitmap) {}

  int width() const { return bitmap_.width; }
  int height() const { return bitmap_.height; }

  void Set(int x, int y, uint32_t color);
  uint32_t Get(int x, int y) const;
  void Fill(const Rect& r, uint32_t color);
  // Top row `top`, bottom row `bottom`, blended row by row.
  void VerticalGradient(const Rect& r, uint32_t top, uint32_t bottom);
  void HorizontalGradient(const Rect& r, uint32_t left, uint32_t right);
  void HLine(int x, int y, int w, uint32_t color);
  void VLine(int x, int y, int h, uint32_t color);
  // A one-pixel frame: light on the top and left edges, dark on the others.
  void Bevel(const Rect& r, uint32_t light, uint32_t dark);
  void Frame(const Rect& r, uint32_t color);
  // A filled rectangle whose corners are cut by `radius` pixels (1 or 2).
  void RoundedFill(const Rect& r, int radius, uint32_t color);
  void RoundedFrame(const Rect& r, int radius, uint32_t color);
  // Copies a rectangle of another bitmap (or of this one) to x,y.
  void Blit(int x, int y, const Bitmap& source, const Rect& piece);

  // Pixel art: one string per row, '#' (or any character but '.' and ' ')
  // painted in `color`, the rest left alone.
  void Art(int x, int y, std::initializer_list<std::string_view> rows, uint32_t color);
  // The same with the rows in one string separated by blanks: "..#. .##. ..#.".
  void ArtRows(int x, int y, std::string_view rows, uint32_t color);

  // Anti-aliased shape: `inside` is asked at 4 x 4 points per pixel of `area`
  // (coordinates in pixels, pixel centres at .5) and every touched pixel is
  // blended toward `color` by the share of points inside.
  template <typename Inside>
  void Shape(const Rect& area, uint32_t color, Inside inside) {
    for (int y = area.y; y < area.y + area.h; ++y)
      for (int x = area.x; x < area.x + area.w; ++x) {
        int hits = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i)
            if (inside(x + (i + 0.5) / 4.0, y + (j + 0.5) / 4.0))
              ++hits;
        if (hits > 0)
          Set(x, y, Mix(Get(x, y), color, hits, 16));
      }
  }

 private:
  Bitmap& bitmap_;
};

// Width and height of blank-separated pixel art rows.
int ArtWidth(std::string_view rows);
int ArtHeight(std::string_view rows);

}  // namespace zcd::skin_gen
