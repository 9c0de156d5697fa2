#pragma once

#include <array>
#include <memory>
#include <string>

#include "base/bitmap.h"
#include "skin/skin_files.h"

namespace zcd {

// Every bitmap the windows draw from. Bitmaps are shared and immutable, so a
// drawing thread that still holds the old set finishes with it safely.
struct SkinSet {
  std::array<std::shared_ptr<const Bitmap>, kSkinFileCount> bitmaps;

  const Bitmap& operator[](SkinFile file) const { return *bitmaps[static_cast<size_t>(file)]; }
  const std::shared_ptr<const Bitmap>& Shared(SkinFile file) const {
    return bitmaps[static_cast<size_t>(file)];
  }
};

// One file of the skin `skin_name` under `skin_folder`; its built-in image
// when the name selects built-ins or the file is missing or unreadable. The
// file name is matched without regard to case, as skins are often made on
// systems that ignore it. Never null. Any thread.
std::shared_ptr<const Bitmap> LoadSkinImage(const std::string& skin_folder,
                                            const std::string& skin_name, SkinFile file);

// All files but "zgraphic.bmp", which the idle animation loads for itself
// (its slot stays null). Any thread.
SkinSet LoadSkin(const std::string& skin_folder, const std::string& skin_name);

}  // namespace zcd
