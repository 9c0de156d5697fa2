#pragma once

#include <algorithm>
#include <array>
#include <deque>
#include <vector>

#include "mixer/mixer_device.h"

namespace zcd::test {

// A sound card's mixer in memory, keeping the same contract as the ALSA
// one: values outside a control's bounds are refused, every change of a
// value (the player's own too) is reported, and the report comes later,
// when the test lets the event loop run (DeliverNotices).
class FakeMixerDevice : public MixerDevice {
 public:
  struct Control {
    bool available = false;
    MixerBounds bounds;
    std::vector<int64_t> channels;
  };

  void Add(MixerControl control, MixerBounds bounds, std::vector<int64_t> channels) {
    Slot(control) = {true, bounds, std::move(channels)};
  }

  void Remove(MixerControl control) { Slot(control) = {}; }

  bool Available(MixerControl control) const override { return Slot(control).available; }
  MixerBounds Bounds(MixerControl control) const override { return Slot(control).bounds; }
  int Channels(MixerControl control) const override {
    return static_cast<int>(Slot(control).channels.size());
  }
  std::optional<int64_t> Read(MixerControl control) override {
    const Control& c = Slot(control);
    if (!c.available || c.channels.empty())
      return std::nullopt;
    return *std::max_element(c.channels.begin(), c.channels.end());
  }
  std::optional<ChannelPair> ReadPair(MixerControl control) override {
    const Control& c = Slot(control);
    if (!c.available || c.channels.size() != 2)
      return std::nullopt;
    return ChannelPair{c.channels[0], c.channels[1]};
  }
  bool Set(MixerControl control, int64_t value) override {
    ++sets_;
    Control& c = Slot(control);
    if (!c.available || !InBounds(c, value))
      return false;
    std::vector<int64_t> next(c.channels.size(), value);
    Change(control, std::move(next));
    return true;
  }
  bool SetPair(MixerControl control, ChannelPair values) override {
    ++sets_;
    Control& c = Slot(control);
    if (!c.available || c.channels.size() != 2 || !InBounds(c, values.left) ||
        !InBounds(c, values.right)) {
      return false;
    }
    Change(control, {values.left, values.right});
    return true;
  }
  void SetChangeListener(std::function<void(MixerControl)> listener) override {
    listener_ = std::move(listener);
  }

  // Another program turns a control.
  void ChangeFromOutside(MixerControl control, std::vector<int64_t> channels) {
    Change(control, std::move(channels));
  }
  // Runs the notices that came since the last call, in order.
  void DeliverNotices() {
    while (!pending_.empty()) {
      const MixerControl control = pending_.front();
      pending_.pop_front();
      if (listener_)
        listener_(control);
    }
  }
  const std::vector<int64_t>& channels(MixerControl control) const {
    return Slot(control).channels;
  }
  int sets() const { return sets_; }
  size_t pending() const { return pending_.size(); }

 private:
  static bool InBounds(const Control& c, int64_t value) {
    return value >= c.bounds.minimum && value <= c.bounds.maximum;
  }
  void Change(MixerControl control, std::vector<int64_t> channels) {
    Control& c = Slot(control);
    if (c.channels == channels)
      return;
    c.channels = std::move(channels);
    pending_.push_back(control);
  }
  Control& Slot(MixerControl control) { return controls_[static_cast<size_t>(control)]; }
  const Control& Slot(MixerControl control) const {
    return controls_[static_cast<size_t>(control)];
  }

  std::array<Control, kMixerControlCount> controls_;
  std::function<void(MixerControl)> listener_;
  std::deque<MixerControl> pending_;
  int sets_ = 0;
};

}  // namespace zcd::test
