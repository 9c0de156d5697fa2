#pragma once

#include <array>
#include <cstddef>

namespace zcd {

// The eleven files of a skin, in the order the loader reads them.
enum class SkinFile {
  kBody,
  kWinshade,
  kWidgitset,
  kTrackset,
  kCharset,
  kMenugraphic,
  kButtonset,
  kNumberset,
  kSlider,
  kMixerset,
  kZgraphic,
};

inline constexpr size_t kSkinFileCount = 11;

struct SkinFileInfo {
  SkinFile file;
  const char* name;
  // The built-in image's size; a skin's own file may be any size.
  int width;
  int height;
};

inline constexpr std::array<SkinFileInfo, kSkinFileCount> kSkinFiles{{
    {SkinFile::kBody, "body.bmp", 295, 160},
    {SkinFile::kWinshade, "winshade.bmp", 295, 17},
    {SkinFile::kWidgitset, "widgitset.bmp", 133, 66},
    {SkinFile::kTrackset, "trackset.bmp", 166, 43},
    {SkinFile::kCharset, "charset.bmp", 207, 83},
    {SkinFile::kMenugraphic, "menugraphic.bmp", 47, 444},
    {SkinFile::kButtonset, "buttonset.bmp", 119, 149},
    {SkinFile::kNumberset, "numberset.bmp", 139, 55},
    {SkinFile::kSlider, "slider.bmp", 228, 10},
    {SkinFile::kMixerset, "mixerset.bmp", 234, 56},
    {SkinFile::kZgraphic, "zgraphic.bmp", 81, 62},
}};

constexpr const SkinFileInfo& SkinFileInfoFor(SkinFile file) {
  return kSkinFiles[static_cast<size_t>(file)];
}

}  // namespace zcd
