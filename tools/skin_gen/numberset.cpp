#include "skin/draw_number_pieces.h"
#include "skin/skin_files.h"
#include "tools/skin_gen/fonts.h"
#include "tools/skin_gen/images.h"
#include "tools/skin_gen/palette.h"

namespace zcd::skin_gen {
namespace {

// Where each digit's art sits inside its piece. Medium digits start one row
// down because text draws them one row higher than letters.
struct DigitSize {
  const DigitStrip& strip;
  std::string_view (*art)(int);
  int dx;
  int dy;
};

constexpr int kLargeArtX = 1;

void DrawDigits(Canvas& canvas, const DigitSize& size) {
  for (int digit = 0; digit <= 9; ++digit)
    for (bool lit : {true, false}) {
      const Rect piece = DigitPiece(size.strip, digit, lit);
      canvas.ArtRows(piece.x + size.dx, piece.y + size.dy, size.art(digit),
                     lit ? palette::kLit : palette::kDim);
    }
}

}  // namespace

Bitmap MakeNumberset() {
  const SkinFileInfo& info = SkinFileInfoFor(SkinFile::kNumberset);
  Bitmap bitmap(info.width, info.height, palette::kBlack);
  Canvas canvas(bitmap);
  DrawDigits(canvas, {kLargeDigits, LargeDigit, kLargeArtX, 0});
  DrawDigits(canvas, {kMediumDigits, MediumDigit, 0, 1});
  DrawDigits(canvas, {kTinyDigits, TinyDigit, 0, 0});
  return bitmap;
}

}  // namespace zcd::skin_gen
