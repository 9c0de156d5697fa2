#include "platform/stream_volume_mixer.h"

#include <algorithm>

namespace zcd {

StreamVolumeMixer::StreamVolumeMixer(std::unique_ptr<MixerDevice> card,
                                     std::shared_ptr<StreamGain> gain, WindowHost& host,
                                     std::function<bool()> digital)
    : card_(std::move(card)), gain_(std::move(gain)), host_(host), digital_(std::move(digital)) {
  host_.WatchReadable(changed_.fd(), [this] {
    changed_.Drain();
    if (listener_)
      listener_(MixerControl::kCdVolume);
  });
}

StreamVolumeMixer::~StreamVolumeMixer() {
  host_.UnwatchReadable(changed_.fd());
}

bool StreamVolumeMixer::Own(MixerControl control) const {
  return control == MixerControl::kCdVolume && digital_();
}

bool StreamVolumeMixer::Available(MixerControl control) const {
  return Own(control) || card_->Available(control);
}

MixerBounds StreamVolumeMixer::Bounds(MixerControl control) const {
  return Own(control) ? MixerBounds{0, StreamGain::kMaximum} : card_->Bounds(control);
}

int StreamVolumeMixer::Channels(MixerControl control) const {
  return Own(control) ? 2 : card_->Channels(control);
}

std::optional<int64_t> StreamVolumeMixer::Read(MixerControl control) {
  if (!Own(control))
    return card_->Read(control);
  return std::max(gain_->Left(), gain_->Right());
}

std::optional<ChannelPair> StreamVolumeMixer::ReadPair(MixerControl control) {
  if (!Own(control))
    return card_->ReadPair(control);
  return ChannelPair{gain_->Left(), gain_->Right()};
}

bool StreamVolumeMixer::Set(MixerControl control, int64_t value) {
  return Own(control) ? SetPair(control, {value, value}) : card_->Set(control, value);
}

bool StreamVolumeMixer::SetPair(MixerControl control, ChannelPair values) {
  if (!Own(control))
    return card_->SetPair(control, values);
  gain_->Set(values.left, values.right);
  changed_.Signal();
  return true;
}

void StreamVolumeMixer::SetChangeListener(std::function<void(MixerControl)> listener) {
  listener_ = listener;
  card_->SetChangeListener(std::move(listener));
}

}  // namespace zcd
