#pragma once

#include <utility>
#include <vector>

#include "cd/play_order_view.h"

namespace zcd::test {

// A play order over (track, removed) pairs that computes runs the way the
// play order does outside repeat-track mode.
class VectorPlayOrder : public PlayOrderView {
 public:
  VectorPlayOrder(std::vector<std::pair<int, bool>> entries, int disc_tracks)
      : entries_(std::move(entries)), disc_tracks_(disc_tracks) {}

  int EntryCount() const override { return static_cast<int>(entries_.size()); }
  int EntryTrack(int index) const override { return entries_[index].first; }
  bool EntryRemoved(int index) const override { return entries_[index].second; }

  std::optional<TrackRange> RunRange(int index) const override {
    if (index < 0 || index >= EntryCount())
      return std::nullopt;
    for (int i = index; i < EntryCount(); ++i) {
      int next = StepForward(i);
      if (next < 0)
        return std::nullopt;
      if (EntryTrack(next) != EntryTrack(i) + 1)
        return TrackRange{EntryTrack(index), EntryTrack(i) + 1};
    }
    return TrackRange{EntryTrack(index), disc_tracks_ + 1};
  }

 private:
  int StepForward(int index) const {
    for (int step = 1; step <= EntryCount(); ++step) {
      int candidate = (index + step) % EntryCount();
      if (!EntryRemoved(candidate))
        return candidate;
    }
    return -1;
  }

  std::vector<std::pair<int, bool>> entries_;
  int disc_tracks_;
};

}  // namespace zcd::test
