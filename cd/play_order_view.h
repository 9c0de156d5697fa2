#pragma once

#include <optional>

namespace zcd {

// The tracks one play command covers: from the start of `from` to the start
// of `to`; `to` above the track count means the end of the disc.
struct TrackRange {
  int from = 0;
  int to = 0;
  bool operator==(const TrackRange&) const = default;
};

// What the device code needs from the play order: the entries and the run a
// play command covers. The play order implements it; none is set while no
// disc is loaded.
class PlayOrderView {
 public:
  virtual ~PlayOrderView() = default;
  virtual int EntryCount() const = 0;
  virtual int EntryTrack(int index) const = 0;
  virtual bool EntryRemoved(int index) const = 0;
  virtual std::optional<TrackRange> RunRange(int index) const = 0;
};

}  // namespace zcd
