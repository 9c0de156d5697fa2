#pragma once

#include <atomic>
#include <cstdint>

namespace zcd {

// The volume of the player's own stream, left and right, each 0 .. kMaximum,
// which the CD volume and balance knobs turn in digital playback. Levels
// map to loudness on a cubic curve, as mixers map their volume, so the knob
// covers the audible range evenly. Any thread.
class StreamGain {
 public:
  static constexpr int64_t kMaximum = 65535;

  void Set(int64_t left, int64_t right);
  int64_t Left() const { return left_.load(); }
  int64_t Right() const { return right_.load(); }

  // Scales interleaved stereo samples in place by the current levels.
  void Apply(int16_t* samples, long frames) const;

 private:
  std::atomic<int64_t> left_{kMaximum};
  std::atomic<int64_t> right_{kMaximum};
};

}  // namespace zcd
