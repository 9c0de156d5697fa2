#pragma once

#include <functional>
#include <memory>

#include "audio/stream_gain.h"
#include "audio/wake_fd.h"
#include "base/window_host.h"
#include "mixer/mixer_device.h"

namespace zcd {

// The sound card's mixer, except that while discs play digitally the CD
// volume is the player's own stream: two channels, 0 .. StreamGain::kMaximum,
// so the CD knob and the balance turn what is heard. Master, bass and treble
// stay the card's. A change of the stream's level is reported like the
// card's, later, from `host`'s event loop, which must outlive the mixer.
// Window thread only.
class StreamVolumeMixer : public MixerDevice {
 public:
  StreamVolumeMixer(std::unique_ptr<MixerDevice> card, std::shared_ptr<StreamGain> gain,
                    WindowHost& host, std::function<bool()> digital);
  ~StreamVolumeMixer() override;
  StreamVolumeMixer(const StreamVolumeMixer&) = delete;
  StreamVolumeMixer& operator=(const StreamVolumeMixer&) = delete;

  bool Available(MixerControl control) const override;
  MixerBounds Bounds(MixerControl control) const override;
  int Channels(MixerControl control) const override;
  std::optional<int64_t> Read(MixerControl control) override;
  std::optional<ChannelPair> ReadPair(MixerControl control) override;
  bool Set(MixerControl control, int64_t value) override;
  bool SetPair(MixerControl control, ChannelPair values) override;
  void SetChangeListener(std::function<void(MixerControl)> listener) override;

 private:
  bool Own(MixerControl control) const;

  std::unique_ptr<MixerDevice> card_;
  std::shared_ptr<StreamGain> gain_;
  WindowHost& host_;
  std::function<bool()> digital_;
  std::function<void(MixerControl)> listener_;
  WakeFd changed_;
};

}  // namespace zcd
