#include "skin/bmp_format.h"

#include <algorithm>
#include <array>
#include <string>

namespace zcd::bmp {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;
constexpr std::array<uint32_t, 6> kKnownHeaderSizes = {12, 40, 52, 56, 108, 124};

bool Fail(std::string& error, std::string text) {
  error = std::move(text);
  return false;
}

bool CheckDepthAndCompression(const Format& f, bool core, std::string& error) {
  switch (f.compression) {
    case kBiRgb:
      if (f.bits == 1 || f.bits == 4 || f.bits == 8 || f.bits == 24) {
        return true;
      }
      if (!core && (f.bits == 16 || f.bits == 32)) {
        return true;
      }
      return Fail(error, "unsupported bit depth " + std::to_string(f.bits));
    case kBiRle8:
      return f.bits == 8 || Fail(error, "RLE8 needs 8 bits per pixel");
    case kBiRle4:
      return f.bits == 4 || Fail(error, "RLE4 needs 4 bits per pixel");
    case kBiBitfields:
    case kBiAlphaBitfields:
      return f.bits == 16 || f.bits == 32 ||
             Fail(error, "bit-field masks need 16 or 32 bits per pixel");
    default:
      return Fail(error, "unsupported compression " + std::to_string(f.compression));
  }
}

bool CheckSize(int64_t width, int64_t height, std::string& error) {
  if (width <= 0) {
    return Fail(error, "zero or negative width");
  }
  if (height == 0) {
    return Fail(error, "zero height");
  }
  const int64_t rows = height < 0 ? -height : height;
  if (width > kMaxSide || rows > kMaxSide || width * rows > kMaxPixels) {
    return Fail(error,
                "image too large (" + std::to_string(width) + " x " + std::to_string(rows) + ")");
  }
  return true;
}

}  // namespace

std::optional<Format> ParseFormat(std::span<const uint8_t> bytes, std::string& error) {
  if (bytes.size() < kFileHeaderSize + 4) {
    Fail(error, "truncated file header");
    return std::nullopt;
  }
  if (bytes[0] != 'B' || bytes[1] != 'M') {
    Fail(error, "not a BMP file (bad signature)");
    return std::nullopt;
  }
  const uint64_t data_offset = ReadU32(bytes, 10);
  const uint32_t header_size = ReadU32(bytes, kFileHeaderSize);
  bool known = false;
  for (uint32_t size : kKnownHeaderSizes) {
    known = known || size == header_size;
  }
  if (!known) {
    Fail(error, "unsupported info header size " + std::to_string(header_size));
    return std::nullopt;
  }
  if (kFileHeaderSize + header_size > bytes.size()) {
    Fail(error, "truncated info header");
    return std::nullopt;
  }

  const bool core = header_size == kCoreHeaderSize;
  Format f;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t colors_used = 0;
  if (core) {
    width = ReadU16(bytes, 18);
    height = ReadU16(bytes, 20);
    f.bits = ReadU16(bytes, 24);
  } else {
    width = static_cast<int32_t>(ReadU32(bytes, 18));
    height = static_cast<int32_t>(ReadU32(bytes, 22));
    f.bits = ReadU16(bytes, 28);
    f.compression = ReadU32(bytes, 30);
    colors_used = ReadU32(bytes, 46);
  }
  if (!CheckSize(width, height, error) || !CheckDepthAndCompression(f, core, error)) {
    return std::nullopt;
  }
  f.width = static_cast<int>(width);
  f.top_down = height < 0;
  f.height = static_cast<int>(height < 0 ? -height : height);
  if (f.top_down && (f.compression == kBiRle8 || f.compression == kBiRle4)) {
    Fail(error, "top-down RLE bitmap");
    return std::nullopt;
  }

  size_t table_start = kFileHeaderSize + header_size;
  if (f.compression == kBiBitfields || f.compression == kBiAlphaBitfields) {
    // A plain 40-byte header keeps its masks after itself; larger ones inside.
    size_t masks_at = kFileHeaderSize + kInfoHeaderSize;
    if (header_size == kInfoHeaderSize) {
      table_start += f.compression == kBiAlphaBitfields ? 16 : 12;
      if (table_start > bytes.size()) {
        Fail(error, "truncated colour masks");
        return std::nullopt;
      }
    }
    f.red_mask = ReadU32(bytes, masks_at);
    f.green_mask = ReadU32(bytes, masks_at + 4);
    f.blue_mask = ReadU32(bytes, masks_at + 8);
  } else if (f.bits == 16) {
    f.red_mask = 0x7C00;
    f.green_mask = 0x03E0;
    f.blue_mask = 0x001F;
  }

  if (data_offset < table_start) {
    Fail(error, "pixel data offset inside the headers");
    return std::nullopt;
  }
  if (data_offset >= bytes.size()) {
    Fail(error, "pixel data offset beyond the end of the file");
    return std::nullopt;
  }
  f.data_offset = static_cast<size_t>(data_offset);

  if (f.bits <= 8) {
    const size_t full = size_t{1} << f.bits;
    size_t count = (colors_used == 0 || colors_used > full) ? full : colors_used;
    const size_t entry = core ? 3 : 4;
    // Some writers store only the colours they use and let the pixel data
    // follow at once: the table ends where the pixels begin.
    count = std::min(count, (f.data_offset - table_start) / entry);
    f.palette.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      const size_t at = table_start + i * entry;
      f.palette.push_back(0xFF000000u | (static_cast<uint32_t>(bytes[at + 2]) << 16) |
                          (static_cast<uint32_t>(bytes[at + 1]) << 8) | bytes[at]);
    }
  }
  return f;
}

}  // namespace zcd::bmp
