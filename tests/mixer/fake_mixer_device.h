#pragma once

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <vector>

#include "mixer/mixer_device.h"

namespace zcd::test {

// A sound card's mixer in memory, keeping the same contract as the ALSA
// one: values outside a control's bounds are refused, every change of a
// value (the player's own too) is reported, and the report comes later,
// when the test lets the event loop run (DeliverNotices). Copies share one
// card, so a test keeps a handle on the copy a mixer owns.
class FakeMixerDevice : public MixerDevice {
 public:
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
    ++card_->sets;
    const Control& c = Slot(control);
    if (!c.available || !InBounds(c, value))
      return false;
    Change(control, std::vector<int64_t>(c.channels.size(), value));
    return true;
  }
  bool SetPair(MixerControl control, ChannelPair values) override {
    ++card_->sets;
    const Control& c = Slot(control);
    if (!c.available || c.channels.size() != 2 || !InBounds(c, values.left) ||
        !InBounds(c, values.right)) {
      return false;
    }
    Change(control, {values.left, values.right});
    return true;
  }
  void SetChangeListener(std::function<void(MixerControl)> listener) override {
    card_->listener = std::move(listener);
  }

  // Another program turns a control.
  void ChangeFromOutside(MixerControl control, std::vector<int64_t> channels) {
    Change(control, std::move(channels));
  }
  // Runs the notices that came since the last call, in order.
  void DeliverNotices() {
    while (!card_->pending.empty()) {
      const MixerControl control = card_->pending.front();
      card_->pending.pop_front();
      if (card_->listener)
        card_->listener(control);
    }
  }
  const std::vector<int64_t>& channels(MixerControl control) const {
    return Slot(control).channels;
  }
  int sets() const { return card_->sets; }

 private:
  struct Control {
    bool available = false;
    MixerBounds bounds;
    std::vector<int64_t> channels;
  };
  struct Card {
    std::array<Control, kMixerControlCount> controls;
    std::function<void(MixerControl)> listener;
    std::deque<MixerControl> pending;
    int sets = 0;
  };

  static bool InBounds(const Control& c, int64_t value) {
    return value >= c.bounds.minimum && value <= c.bounds.maximum;
  }
  void Change(MixerControl control, std::vector<int64_t> channels) {
    Control& c = Slot(control);
    if (c.channels == channels)
      return;
    c.channels = std::move(channels);
    card_->pending.push_back(control);
  }
  Control& Slot(MixerControl control) { return card_->controls[static_cast<size_t>(control)]; }
  const Control& Slot(MixerControl control) const {
    return card_->controls[static_cast<size_t>(control)];
  }

  std::shared_ptr<Card> card_ = std::make_shared<Card>();
};

}  // namespace zcd::test
