#pragma once

#include "base/bitmap.h"
#include "base/rect.h"
#include "base/surface.h"

namespace zcd {

// --- pieces of "menugraphic.bmp" -----------------------------------------
inline constexpr Rect kMenuBannerTall{0, 0, 22, 410};
inline constexpr Rect kMenuBannerShort{24, 0, 22, 110};
// Tiled below a banner when the menu is taller than it.
inline constexpr Rect kMenuBannerFiller{0, 412, 22, 31};
inline constexpr int kMenuBannerWidth = 22;

// The banner of a menu's graphic item: 1 the tall one, 2 the short one,
// nothing for any other id.
constexpr Rect MenuBannerPiece(int graphic) {
  switch (graphic) {
    case 1:
      return kMenuBannerTall;
    case 2:
      return kMenuBannerShort;
    default:
      return {};
  }
}

// The strip down the left side of a menu `height` pixels tall: the item's
// banner from the top, cut off when the menu is shorter, and the filler
// repeated below it when the menu is taller. Empty for an unknown id.
Surface MenuBannerStrip(const Bitmap& sheet, int graphic, int height);

}  // namespace zcd
