#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zcd::bmp {

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiAlphaBitfields = 6;

// Limits that keep a hostile header from asking for an absurd allocation.
inline constexpr int kMaxSide = 16384;
inline constexpr int64_t kMaxPixels = 64 * 1024 * 1024;

// Everything the pixel decoders need, already checked against the file size
// and the limits above.
struct Format {
  int width = 0;
  int height = 0;  // always positive; top_down says which row comes first
  bool top_down = false;
  int bits = 0;
  uint32_t compression = kBiRgb;
  uint32_t red_mask = 0;
  uint32_t green_mask = 0;
  uint32_t blue_mask = 0;
  std::vector<uint32_t> palette;  // 0xFFRRGGBB, possibly shorter than 2^bits
  size_t data_offset = 0;
};

inline uint16_t ReadU16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
inline uint32_t ReadU32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Reads the file header, info header, masks and colour table.
std::optional<Format> ParseFormat(std::span<const uint8_t> bytes, std::string& error);

}  // namespace zcd::bmp
