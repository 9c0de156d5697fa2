#pragma once

#include <functional>
#include <map>
#include <memory>

#include "mixer/balance.h"
#include "mixer/mixer_device.h"

namespace zcd {

// What the mixer panel and the volume bar share: the device, the balance
// both of them set the CD volume with, and the device's change notices,
// handed to each window that listens. Window thread only.
class Mixer {
 public:
  // Without a device nothing is available.
  explicit Mixer(std::unique_ptr<MixerDevice> device);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  MixerDevice& device() { return *device_; }
  int balance() const { return balance_; }
  void set_balance(int balance) { balance_ = balance; }

  // Sets the CD volume `value` above its minimum, both channels leaning
  // by the balance when there are two, else every channel alike.
  bool SetBalancedCdVolume(int64_t value);

  // Returns a key for Unlisten. A listener must not stop listening while
  // it is being told.
  int Listen(std::function<void(MixerControl)> listener);
  void Unlisten(int key);

 private:
  void Notify(MixerControl control);

  std::unique_ptr<MixerDevice> device_;
  // The centre until the balance knob has read the channels.
  int balance_ = kBalanceCentre;
  std::map<int, std::function<void(MixerControl)>> listeners_;
  int next_key_ = 0;
};

}  // namespace zcd
