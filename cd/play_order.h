#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "base/settings.h"
#include "base/track_cell.h"
#include "cd/cd_state.h"
#include "cd/play_order_view.h"

namespace zcd {

inline constexpr int kMaxPlayOrderEntries = 255;

// PlayType bits.
inline constexpr int kPlayTypeRepeatAll = 1;
inline constexpr int kPlayTypeRepeatTrack = 2;
inline constexpr int kPlayTypeShuffle = 4;

// Draws the numbers the shuffle uses.
using RandomSource = std::function<uint32_t()>;
RandomSource ClockSeededRandom();

// Flags an appended entry starts with besides its data flag.
struct EntryMarks {
  bool removed = false;
  bool copy = false;
};

// The list of tracks the player goes through, for the disc of one CdState.
// It registers itself as that state's play order for its lifetime, so it must
// be destroyed before the state. Every change stores the new play-order length
// in the state. Window thread only.
class PlayOrderList final : public PlayOrderView {
 public:
  PlayOrderList(CdState& state, const Settings& settings,
                RandomSource random = ClockSeededRandom());
  ~PlayOrderList() override;
  PlayOrderList(const PlayOrderList&) = delete;
  PlayOrderList& operator=(const PlayOrderList&) = delete;

  CdState& state() const { return state_; }
  const Settings& settings() const { return settings_; }
  const std::vector<TrackCell>& cells() const { return cells_; }

  // Every track of at least IgnoreSec seconds, in disc order; tracks of
  // unknown length are left out.
  void BuildDefault();
  void ClearList();
  // The new index, or -1 when the list is full or the track is not on the disc.
  int AppendEntry(int track, EntryMarks marks = {});
  // While playing, the current position follows the drive's track afterwards.
  bool RemoveEntry(int index);
  bool ExchangeEntries(int a, int b);
  // Shifts the entries in between by one place.
  bool MoveEntry(int from, int to);
  // Stable sort by track, or, with the shuffle bit, a shuffle that keeps the
  // playing entry in slot 0.
  void ReorderPlayOrder(int play_type);
  bool SetRemoved(int index, bool removed);
  void InvertRemoved();

  // The next or previous entry that is not removed, wrapping around the ends;
  // -1 when there is none. index -1 stands before the first entry.
  int StepIndex(int index, bool forward) const;
  // Seconds of all entries that are not removed.
  int32_t TotalSeconds() const;
  std::optional<int> FindTrack(int track) const;

  // The current position becomes the first entry holding the drive's current
  // track; unchanged when none does or the drive does not say.
  void FollowDeviceTrack();
  void StorePlayOrderSeconds();

  bool SetHover(int index, bool on);
  bool SetHeld(int index, bool on);
  bool SetBlink(int index, bool on);

  int EntryCount() const override { return static_cast<int>(cells_.size()); }
  int EntryTrack(int index) const override;
  bool EntryRemoved(int index) const override;
  std::optional<TrackRange> RunRange(int index) const override;

 private:
  bool InRange(int index) const { return index >= 0 && index < EntryCount(); }
  void Shuffle();
  void SortByTrack();

  CdState& state_;
  const Settings& settings_;
  RandomSource random_;
  std::vector<TrackCell> cells_;
};

}  // namespace zcd
