#include "audio/stream_gain.h"

#include <algorithm>

namespace zcd {
namespace {

// A level's factor in 1/65536ths.
int64_t Factor(int64_t level) {
  const double part = static_cast<double>(std::clamp<int64_t>(level, 0, StreamGain::kMaximum)) /
                      StreamGain::kMaximum;
  return static_cast<int64_t>(part * part * part * 65536.0 + 0.5);
}

}  // namespace

void StreamGain::Set(int64_t left, int64_t right) {
  left_.store(std::clamp<int64_t>(left, 0, kMaximum));
  right_.store(std::clamp<int64_t>(right, 0, kMaximum));
}

void StreamGain::Apply(int16_t* samples, long frames) const {
  const int64_t left = Factor(left_.load());
  const int64_t right = Factor(right_.load());
  if (left == 65536 && right == 65536)
    return;
  for (long i = 0; i < frames; ++i) {
    samples[2 * i] = static_cast<int16_t>(samples[2 * i] * left / 65536);
    samples[2 * i + 1] = static_cast<int16_t>(samples[2 * i + 1] * right / 65536);
  }
}

}  // namespace zcd
