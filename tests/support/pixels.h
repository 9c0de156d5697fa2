#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "base/bitmap.h"
#include "base/rect.h"
#include "base/surface.h"

namespace zcd::test {

// A pixel that names its own place (and a tag for its sheet), so that a piece
// taken from the wrong place cannot match.
constexpr uint32_t NamedPixel(int x, int y, uint32_t tag) {
  return Rgb(static_cast<uint32_t>(x) & 0xFF, static_cast<uint32_t>(y) & 0xFF, tag);
}

inline Bitmap NamedSheet(int w, int h, uint32_t tag) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.At(x, y) = NamedPixel(x, y, tag);
  return b;
}

// Places of a surface and the pixels they must show.
using Pixels = std::map<std::pair<int, int>, uint32_t>;

// The sheet's piece `from` with its top-left corner at x,y.
inline Pixels PlacedPiece(int x, int y, const Rect& from, uint32_t tag, Pixels pixels = {}) {
  for (int j = 0; j < from.h; ++j)
    for (int i = 0; i < from.w; ++i)
      pixels[{x + i, y + j}] = NamedPixel(from.x + i, from.y + j, tag);
  return pixels;
}

// Every pixel that differs from `want`, or from the background where `want`
// says nothing, one line each; empty when the surface is right.
inline std::string PixelMismatches(const Surface& s, const Pixels& want, uint32_t background) {
  std::string out;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const auto it = want.find({x, y});
      const uint32_t expected = it == want.end() ? background : it->second;
      if (s.At(x, y) != expected && out.size() < 1000) {
        char line[80];
        std::snprintf(line, sizeof line, "(%d,%d) is %08X, want %08X\n", x, y, s.At(x, y),
                      expected);
        out += line;
      }
    }
  }
  return out;
}

}  // namespace zcd::test
