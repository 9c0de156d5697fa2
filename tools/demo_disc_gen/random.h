#pragma once

#include <cstdint>

namespace zcd::demo_gen {

// A small seeded generator (SplitMix64): the same numbers on every machine,
// unlike the standard library's distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, 1).
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  // In [-1, 1).
  double Signed() { return Uniform() * 2.0 - 1.0; }
  // In [0, n).
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  bool Chance(double p) { return Uniform() < p; }

 private:
  uint64_t state_;
};

// A seed for one part of a piece, so that parts do not share numbers.
constexpr uint64_t MixSeed(uint64_t seed, uint64_t part) {
  return (seed ^ (part * 0xD6E8FEB86659FD93ull)) + 0x632BE59BD9B4E019ull;
}

}  // namespace zcd::demo_gen
