#include <fstream>

#include "skin/bmp_codec.h"

namespace zcd {
namespace {

constexpr uint32_t kHeadersSize = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi, what most tools write

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap) {
  std::vector<uint8_t> out;
  if (bitmap.Empty() || bitmap.pixels.size() != static_cast<size_t>(bitmap.width) * bitmap.height) {
    return out;
  }
  const uint32_t stride = (static_cast<uint32_t>(bitmap.width) * 3 + 3) / 4 * 4;
  const uint32_t image_size = stride * static_cast<uint32_t>(bitmap.height);
  out.reserve(kHeadersSize + image_size);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, kHeadersSize + image_size);
  PutU32(out, 0);  // reserved
  PutU32(out, kHeadersSize);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(bitmap.width));
  PutU32(out, static_cast<uint32_t>(bitmap.height));  // positive: bottom row first
  PutU16(out, 1);                                     // planes
  PutU16(out, 24);
  PutU32(out, 0);  // BI_RGB
  PutU32(out, image_size);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, 0);  // colours used
  PutU32(out, 0);  // colours important
  for (int y = bitmap.height - 1; y >= 0; --y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const uint32_t p = bitmap.At(x, y);
      out.push_back(static_cast<uint8_t>(p));
      out.push_back(static_cast<uint8_t>(p >> 8));
      out.push_back(static_cast<uint8_t>(p >> 16));
    }
    out.resize(out.size() + (stride - bitmap.width * 3), 0);
  }
  return out;
}

bool SaveBmpFile(const Bitmap& bitmap, const std::string& path, std::string* error) {
  const std::vector<uint8_t> bytes = EncodeBmp(bitmap);
  if (bytes.empty()) {
    if (error != nullptr) {
      *error = "empty bitmap";
    }
    return false;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    if (error != nullptr) {
      *error = "cannot write " + path;
    }
    return false;
  }
  return true;
}

}  // namespace zcd
