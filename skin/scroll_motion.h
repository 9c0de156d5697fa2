#pragma once

#include <optional>

namespace zcd {

// NameScrolling values.
inline constexpr int kScrollNone = 0;
inline constexpr int kScrollRound = 1;
inline constexpr int kScrollBackAndForth = 2;
// Ticks a back-and-forth title rests at each end (at 40 ms a tick).
inline constexpr int kScrollRestTicks = 20;

// Where a text line's strip stands in its slot, and how it moves on.
struct ScrollMotion {
  int position = 0;  // strip pixel shown at the slot's left edge
  int pause = 0;     // non-zero while resting at an end
  int step = 1;      // direction of a back-and-forth title

  // One tick. Only a strip wider than its slot moves; round and round wraps
  // after the strip and the gap have passed, back and forth turns at the
  // ends and rests there.
  void Advance(int strip_width, int slot_width, int name_scrolling, int gap);
};

// The second copy of a round-and-round title that follows the first after
// the gap: where it starts in the slot and how much of it shows; none when
// it is not in view.
struct SecondCopy {
  int x = 0;
  int width = 0;
  bool operator==(const SecondCopy&) const = default;
};
std::optional<SecondCopy> RoundSecondCopy(int strip_width, int position, int slot_width, int gap);

}  // namespace zcd
