#include "skin/menu_banner.h"

#include "skin/blit.h"

namespace zcd {

Surface MenuBannerStrip(const Bitmap& sheet, int graphic, int height) {
  const Rect banner = MenuBannerPiece(graphic);
  if (banner.Empty() || height <= 0)
    return {};
  Surface strip(kMenuBannerWidth, height);
  CopyPiece(strip, 0, 0, banner, sheet);
  for (int y = banner.h; y < height; y += kMenuBannerFiller.h)
    CopyPiece(strip, 0, y, kMenuBannerFiller, sheet);
  return strip;
}

}  // namespace zcd
