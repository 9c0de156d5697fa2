#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace zcd::demo_gen {

// One cycle of a waveform, read with linear interpolation. Phases are
// fixed-point fractions of a cycle (2^32 is one cycle), so they wrap by themselves.
using Phase = uint32_t;

// The phase step of a frequency at a sample rate.
inline Phase PhaseStep(double frequency, double rate) {
  return static_cast<Phase>(std::llround(frequency / rate * 4294967296.0));
}

class Wavetable {
 public:
  static constexpr int kBits = 12;
  static constexpr int kSize = 1 << kBits;

  // Sum of sines: harmonic k (from 1) at amplitude weights[k - 1], scaled to a peak of 1.
  template <size_t N>
  static Wavetable Harmonics(const std::array<double, N>& weights);

  float At(Phase phase) const {
    constexpr int kFractionBits = 32 - kBits;
    const uint32_t i = phase >> kFractionBits;
    const float frac = static_cast<float>(phase & ((1u << kFractionBits) - 1)) *
                       (1.0f / static_cast<float>(1u << kFractionBits));
    return samples_[i] + (samples_[i + 1] - samples_[i]) * frac;
  }

 private:
  std::array<float, kSize + 1> samples_{};
};

template <size_t N>
Wavetable Wavetable::Harmonics(const std::array<double, N>& weights) {
  Wavetable table;
  std::array<double, kSize> values{};
  double peak = 0;
  for (int i = 0; i < kSize; ++i) {
    for (size_t k = 0; k < N; ++k)
      values[i] +=
          weights[k] * std::sin(2.0 * std::numbers::pi * static_cast<double>((k + 1) * i) / kSize);
    peak = std::max(peak, std::abs(values[i]));
  }
  for (int i = 0; i < kSize; ++i)
    table.samples_[i] = static_cast<float>(values[i] / peak);
  table.samples_[kSize] = table.samples_[0];
  return table;
}

// The shared tables: a pure sine, a rounded tone with a few low harmonics,
// and a soft sawtooth whose upper harmonics fall away quickly.
const Wavetable& SineTable();
const Wavetable& RoundTable();
const Wavetable& SoftSawTable();

}  // namespace zcd::demo_gen
