#pragma once

#include <cstdint>
#include <utility>

namespace zcd {

// One play-order entry. Everything but the position is the entry's contents
// and travels with it when entries change places; the position belongs to the
// slot, which is how the track box knows where to draw it.
struct TrackCell {
  int32_t position = 0;
  int32_t track = 0;  // 1-based disc track
  bool removed = false;
  bool data = false;
  bool copy = false;
  // Display flags, written by the track box only.
  bool hover = false;
  bool held = false;
  bool blink = false;

  bool operator==(const TrackCell&) const = default;
};

// Swaps the contents of two cells and leaves each slot's position alone.
inline void ExchangeContents(TrackCell& a, TrackCell& b) {
  std::swap(a, b);
  std::swap(a.position, b.position);
}

}  // namespace zcd
