#include "skin/scroll_motion.h"

namespace zcd {

void ScrollMotion::Advance(int strip_width, int slot_width, int name_scrolling, int gap) {
  if (strip_width <= slot_width || name_scrolling == kScrollNone ||
      (name_scrolling != kScrollRound && name_scrolling != kScrollBackAndForth)) {
    position = 0;
    return;
  }
  if (name_scrolling == kScrollRound) {
    if (++position >= strip_width + gap)
      position = 0;
    return;
  }
  if (pause != 0) {
    if (++pause > kScrollRestTicks)
      pause = 0;
  } else {
    position += step;
  }
  if (strip_width - position < slot_width) {
    pause = 1;
    step = -step;
    position = strip_width - slot_width;
  } else if (position < 0) {
    pause = 1;
    step = -step;
    position = 0;
  }
}

std::optional<SecondCopy> RoundSecondCopy(int strip_width, int position, int slot_width, int gap) {
  // The copy may reach 13 pixels past the slot, as the composition allows.
  const int x = strip_width - position + gap;
  if (strip_width <= slot_width || x > slot_width + 13)
    return std::nullopt;
  return SecondCopy{x, slot_width + 13 - x};
}

}  // namespace zcd
