#pragma once

#include "mixer/mixer_device.h"

namespace zcd {

// No mixer at all: nothing is available and nothing changes.
class NullMixerDevice : public MixerDevice {
 public:
  bool Available(MixerControl) const override { return false; }
  MixerBounds Bounds(MixerControl) const override { return {}; }
  int Channels(MixerControl) const override { return 0; }
  std::optional<int64_t> Read(MixerControl) override { return std::nullopt; }
  std::optional<ChannelPair> ReadPair(MixerControl) override { return std::nullopt; }
  bool Set(MixerControl, int64_t) override { return false; }
  bool SetPair(MixerControl, ChannelPair) override { return false; }
  void SetChangeListener(std::function<void(MixerControl)>) override {}
};

}  // namespace zcd
