#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/bitmap.h"
#include "skin/bmp_format.h"

namespace zcd::bmp {

// Uncompressed rows (BI_RGB and bit fields) at f.data_offset.
std::optional<Bitmap> DecodeRows(const Format& f, std::span<const uint8_t> bytes,
                                 std::string& error);

// An RLE8 or RLE4 stream at f.data_offset, running to the end of the file.
std::optional<Bitmap> DecodeRle(const Format& f, std::span<const uint8_t> bytes,
                                std::string& error);

inline uint32_t PaletteColor(const Format& f, uint32_t index) {
  return index < f.palette.size() ? f.palette[index] : 0xFF000000u;
}

}  // namespace zcd::bmp
