#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/bitmap.h"

namespace zcd {

// Decodes a Windows BMP file held in memory: core, 40-byte and V2..V5 info
// headers; 1, 4, 8 bpp with colour tables; 16 and 32 bpp plain or with
// bit-field masks; 24 bpp; RLE8 and RLE4; bottom-up and top-down rows. Every
// pixel comes out with alpha 0xFF. A malformed or unsupported file yields
// nullopt and, when `error` is given, a one-line reason. Colour indexes beyond
// the table decode as black; pixels an RLE stream skips take colour-table
// entry 0, as a zero-filled index buffer would.
// Any thread.
std::optional<Bitmap> DecodeBmp(std::span<const uint8_t> bytes, std::string* error = nullptr);

// Reads and decodes a whole file. Any thread.
std::optional<Bitmap> LoadBmpFile(const std::string& path, std::string* error = nullptr);

// A 24-bit bottom-up uncompressed BMP file of `bitmap` (alpha dropped); empty
// for an empty bitmap. Any thread.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);

// Writes EncodeBmp's bytes to `path`, replacing it. Any thread.
bool SaveBmpFile(const Bitmap& bitmap, const std::string& path, std::string* error = nullptr);

}  // namespace zcd
