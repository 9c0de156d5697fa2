#include "mixer/mixer.h"

#include "mixer/null_mixer_device.h"

namespace zcd {

Mixer::Mixer(std::unique_ptr<MixerDevice> device)
    : device_(device ? std::move(device) : std::make_unique<NullMixerDevice>()) {
  device_->SetChangeListener([this](MixerControl control) { Notify(control); });
}

Mixer::~Mixer() {
  device_->SetChangeListener({});
}

bool Mixer::SetBalancedCdVolume(int64_t value) {
  MixerDevice& device = *device_;
  const MixerControl cd = MixerControl::kCdVolume;
  if (!device.Available(cd))
    return false;
  const int64_t minimum = device.Bounds(cd).minimum;
  if (device.Channels(cd) != 2)
    return device.Set(cd, minimum + value);
  const ChannelPair channels = BalancedChannels(value, balance_);
  return device.SetPair(cd, {minimum + channels.left, minimum + channels.right});
}

int Mixer::Listen(std::function<void(MixerControl)> listener) {
  listeners_[next_key_] = std::move(listener);
  return next_key_++;
}

void Mixer::Unlisten(int key) {
  listeners_.erase(key);
}

void Mixer::Notify(MixerControl control) {
  for (const auto& [key, listener] : listeners_)
    listener(control);
}

}  // namespace zcd
