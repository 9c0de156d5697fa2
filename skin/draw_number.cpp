#include "skin/draw_number.h"

#include <string>

#include "skin/blit.h"
#include "skin/draw_number_pieces.h"

namespace zcd {

void DrawNumber(Surface& target, int x, int y, int value, bool lit, NumberStyle style,
                const Bitmap& numberset) {
  if (value < 0)
    value = 0;
  if (style == NumberStyle::kSmall) {
    const std::string digits = std::to_string(value);
    for (size_t i = 0; i < digits.size(); ++i) {
      const int left = x + static_cast<int>(i) * kTinyDigits.pitch;
      CopyPiece(target, left, y, DigitPiece(kTinyDigits, digits[i] - '0', lit), numberset);
    }
    return;
  }
  if (value >= 10) {
    const int tens = (value / 10) % 10;
    CopyPiece(target, x, y, DigitPiece(kMediumDigits, tens, lit), numberset);
    CopyPiece(target, x + kMediumDigits.w, y, DigitPiece(kMediumDigits, value % 10, lit),
              numberset);
  } else {
    CopyPiece(target, x + 1, y + 1, DigitPiece(kLargeDigits, value, lit), numberset);
  }
}

}  // namespace zcd
