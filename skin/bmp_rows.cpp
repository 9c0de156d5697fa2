#include <bit>

#include "skin/bmp_pixels.h"

namespace zcd::bmp {
namespace {

// One colour component taken out of a packed pixel and widened to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;

  uint32_t Extract(uint32_t pixel) const {
    if (max == 0) {
      return 0;
    }
    const uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint32_t>((value * 255 + max / 2) / max);
  }
};

std::optional<Channel> MakeChannel(uint32_t mask) {
  Channel c;
  if (mask == 0) {
    return c;
  }
  c.mask = mask;
  c.shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  c.max = (uint64_t{1} << bits) - 1;
  if ((mask >> c.shift) != c.max) {
    return std::nullopt;
  }
  return c;
}

}  // namespace

std::optional<Bitmap> DecodeRows(const Format& f, std::span<const uint8_t> bytes,
                                 std::string& error) {
  const uint64_t row_bits = static_cast<uint64_t>(f.width) * f.bits;
  const uint64_t stride = (row_bits + 31) / 32 * 4;
  // The last row's padding is often left out of the file; the pixels are not.
  const uint64_t needed = stride * (f.height - 1) + (row_bits + 7) / 8;
  if (needed > bytes.size() - f.data_offset) {
    error = "truncated pixel data";
    return std::nullopt;
  }
  std::optional<Channel> red;
  std::optional<Channel> green;
  std::optional<Channel> blue;
  if (f.bits == 16 || f.bits == 32) {
    red = MakeChannel(f.red_mask);
    green = MakeChannel(f.green_mask);
    blue = MakeChannel(f.blue_mask);
    if (!red || !green || !blue) {
      error = "non-contiguous colour mask";
      return std::nullopt;
    }
  }
  const bool masked32 = f.bits == 32 && f.compression != kBiRgb;

  Bitmap out(f.width, f.height);
  for (int r = 0; r < f.height; ++r) {
    const uint8_t* row = bytes.data() + f.data_offset + stride * r;
    uint32_t* dest =
        out.pixels.data() + static_cast<size_t>(f.top_down ? r : f.height - 1 - r) * f.width;
    for (int x = 0; x < f.width; ++x) {
      uint32_t color = 0;
      switch (f.bits) {
        case 1:
          color = PaletteColor(f, (row[x / 8] >> (7 - x % 8)) & 1);
          break;
        case 4:
          color = PaletteColor(f, (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
          break;
        case 8:
          color = PaletteColor(f, row[x]);
          break;
        case 16: {
          const uint32_t p = row[2 * x] | (row[2 * x + 1] << 8);
          color = (red->Extract(p) << 16) | (green->Extract(p) << 8) | blue->Extract(p);
          break;
        }
        case 24:
          color = (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
          break;
        case 32:
          if (masked32) {
            const uint32_t p = ReadU32(bytes, f.data_offset + stride * r + 4 * x);
            color = (red->Extract(p) << 16) | (green->Extract(p) << 8) | blue->Extract(p);
          } else {
            color = (row[4 * x + 2] << 16) | (row[4 * x + 1] << 8) | row[4 * x];
          }
          break;
      }
      dest[x] = color | 0xFF000000u;
    }
  }
  return out;
}

}  // namespace zcd::bmp
