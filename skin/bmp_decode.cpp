#include <fstream>

#include "skin/bmp_codec.h"
#include "skin/bmp_pixels.h"

namespace zcd {
namespace {

// Larger than any file the size limits allow, so a real skin is never refused
// here but a stray multi-gigabyte file is never read into memory.
constexpr std::streamoff kMaxFileBytes =
    bmp::kMaxPixels * 4 + 4 * static_cast<std::streamoff>(bmp::kMaxSide) + 4096;

}  // namespace

std::optional<Bitmap> DecodeBmp(std::span<const uint8_t> bytes, std::string* error) {
  std::string reason;
  std::optional<Bitmap> result;
  if (std::optional<bmp::Format> format = bmp::ParseFormat(bytes, reason)) {
    const bool rle = format->compression == bmp::kBiRle8 || format->compression == bmp::kBiRle4;
    result = rle ? bmp::DecodeRle(*format, bytes, reason) : bmp::DecodeRows(*format, bytes, reason);
  }
  if (!result && error != nullptr) {
    *error = reason;
  }
  return result;
}

std::optional<Bitmap> LoadBmpFile(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    if (error != nullptr) {
      *error = "cannot open " + path;
    }
    return std::nullopt;
  }
  const std::streamoff size = in.tellg();
  if (size < 0) {
    if (error != nullptr) {
      *error = "cannot read " + path;
    }
    return std::nullopt;
  }
  if (size > kMaxFileBytes) {
    if (error != nullptr) {
      *error = "file too large: " + path;
    }
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    if (error != nullptr) {
      *error = "cannot read " + path;
    }
    return std::nullopt;
  }
  return DecodeBmp(bytes, error);
}

}  // namespace zcd
