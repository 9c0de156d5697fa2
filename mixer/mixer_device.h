#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace zcd {

// The sound controls the player's mixer turns. The balance is no control of
// its own: it is the two channels of the CD volume.
enum class MixerControl { kMaster, kBass, kTreble, kCdVolume };

inline constexpr int kMixerControlCount = 4;

// A control's value range as the mixer reports it; it need not start at 0.
struct MixerBounds {
  int64_t minimum = 0;
  int64_t maximum = 0;
  int64_t Span() const { return maximum - minimum; }
  bool operator==(const MixerBounds&) const = default;
};

struct ChannelPair {
  int64_t left = 0;
  int64_t right = 0;
  bool operator==(const ChannelPair&) const = default;
};

// A sound card's mixer as the player sees it. Values are the mixer's own,
// within the control's bounds. A control that does not exist is unavailable
// and every operation on it fails. A change of any control's value, the
// player's own included, is reported later through the change listener
// from the window thread's event loop, never from inside Set.
//
// The CD volume is where the player's own digital playback will take part:
// a device that answers for its stream's gain on kCdVolume gives the knobs
// and the bar the CD volume and balance with no change of theirs.
//
// Window thread only.
class MixerDevice {
 public:
  virtual ~MixerDevice() = default;
  virtual bool Available(MixerControl control) const = 0;
  virtual MixerBounds Bounds(MixerControl control) const = 0;
  // How many channels the control has; 0 when it is unavailable.
  virtual int Channels(MixerControl control) const = 0;
  // The control's level: its loudest channel, so that a balance leaning
  // to one side does not read as a lower volume. None when it cannot be read.
  virtual std::optional<int64_t> Read(MixerControl control) = 0;
  // The first two channels; none unless the control has two.
  virtual std::optional<ChannelPair> ReadPair(MixerControl control) = 0;
  // Every channel to one value.
  virtual bool Set(MixerControl control, int64_t value) = 0;
  // Left and right of a control with two channels.
  virtual bool SetPair(MixerControl control, ChannelPair values) = 0;
  // Replaces the listener told which control changed.
  virtual void SetChangeListener(std::function<void(MixerControl)> listener) = 0;
};

}  // namespace zcd
