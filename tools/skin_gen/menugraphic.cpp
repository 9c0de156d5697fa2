#include <string_view>

#include "skin/skin_files.h"
#include "tools/skin_gen/canvas.h"
#include "tools/skin_gen/fonts.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/layout.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

using namespace palette;

// The banner fades to the filler's colour at its foot, so a menu taller than
// its banner continues without a seam.
constexpr uint32_t kBannerTop = Rgb(0x14, 0x3C, 0x52);
constexpr uint32_t kBannerFoot = Rgb(0x1B, 0x1E, 0x23);

// The product name reads upward from `bottom`, each capital of the full font
// turned a quarter left and enlarged `zoom` times.
int DrawUpwardName(Canvas& canvas, int left, int bottom, std::string_view text, int zoom,
                   uint32_t color, uint32_t accent, size_t accent_from) {
  int along = bottom;
  for (size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    const int advance = c == ' ' ? 4 * zoom : 9 * zoom;
    if (c != ' ') {
      const std::string_view art = FullGlyph(static_cast<unsigned char>(c)).rows;
      int gx = 0;
      int gy = 0;
      for (char p : art) {
        if (p == ' ') {
          ++gy;
          gx = 0;
          continue;
        }
        if (p != '.') {
          // Glyph column gx runs up the banner, row gy runs across it.
          const int x = left + gy * zoom;
          const int y = along - (gx + 1) * zoom;
          canvas.Fill({x, y, zoom, zoom}, k >= accent_from ? accent : color);
        }
        ++gx;
      }
    }
    along -= advance;
  }
  return along;
}

void DrawBanner(Canvas& canvas, const Rect& r, int zoom) {
  canvas.VerticalGradient(r, kBannerTop, kBannerFoot);
  canvas.VLine(r.x + r.w - 1, r.y, r.h, Mix(kBannerTop, kBlack, 1, 2));
  const int glyph_across = 9 * zoom;
  const int left = r.x + (r.w - glyph_across) / 2;
  DrawUpwardName(canvas, left, r.y + r.h - 6 * zoom, "ZENTARO CD", zoom, kWhite, kLit, 8);
}

}  // namespace

Bitmap MakeMenugraphic() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kMenugraphic);
  Bitmap bitmap(info.width, info.height, kBlack);
  Canvas canvas(bitmap);
  DrawBanner(canvas, layout::kBannerLong, 2);
  DrawBanner(canvas, layout::kBannerShort, 1);
  canvas.Fill(layout::kBannerFiller, kBannerFoot);
  canvas.VLine(layout::kBannerFiller.x + layout::kBannerFiller.w - 1, layout::kBannerFiller.y,
               layout::kBannerFiller.h, Mix(kBannerFoot, kBlack, 1, 2));
  return bitmap;
}

}  // namespace zcd::skin_gen
