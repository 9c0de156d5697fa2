#include "skin/timer_digits.h"

#include <algorithm>

#include "skin/draw_number.h"
#include "skin/draw_number_pieces.h"

namespace zcd {
namespace {

inline constexpr int32_t kTimerLimit = 5999;

}  // namespace

void DrawTimer(Surface& target, LayoutMode mode, int32_t seconds, bool lit,
               const Bitmap& numberset) {
  const int32_t value = std::clamp(seconds, 0, kTimerLimit);
  const int digits[4] = {value / 600, value / 60 % 10, value % 60 / 10, value % 10};
  const bool full = mode == LayoutMode::kFull;
  const auto& xs = full ? kTimerDigitX : kShadeTimerDigitX;
  const int y = full ? kTimerDigitY : kShadeTimerDigitY;
  for (size_t i = 0; i < 4; ++i) {
    DrawNumber(target, xs[i], y, digits[i], lit, full ? NumberStyle::kLarge : NumberStyle::kSmall,
               numberset);
  }
}

Rect TimerRect(LayoutMode mode) {
  if (mode == LayoutMode::kFull) {
    return {kTimerDigitX.front(), kTimerDigitY,
            kTimerDigitX.back() + kLargeDigits.w + 1 - kTimerDigitX.front(), kLargeDigits.h + 1};
  }
  return {kShadeTimerDigitX.front(), kShadeTimerDigitY,
          kShadeTimerDigitX.back() + kTinyDigits.w - kShadeTimerDigitX.front(), kTinyDigits.h};
}

}  // namespace zcd
