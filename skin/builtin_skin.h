#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "base/bitmap.h"
#include "skin/skin_files.h"

namespace zcd {

// The BMP file compiled into the program under `name` ("body.bmp", ...);
// empty for a name it does not carry.
std::span<const uint8_t> BuiltinSkinFileBytes(std::string_view name);

// The decoded built-in image, decoded once and shared. Any thread.
std::shared_ptr<const Bitmap> BuiltinSkinImage(SkinFile file);

}  // namespace zcd
