#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace zcd::demo_gen {

// A track being mixed, one float per sample and channel.
struct StereoBuffer {
  explicit StereoBuffer(int64_t samples)
      : left(static_cast<size_t>(samples)), right(static_cast<size_t>(samples)) {}
  int64_t size() const { return static_cast<int64_t>(left.size()); }

  std::vector<float> left;
  std::vector<float> right;
};

// Equal-power gains for a position from -1 (left) to 1 (right).
struct PanGains {
  explicit PanGains(double pan)
      : left(static_cast<float>(std::cos((pan + 1.0) * std::numbers::pi / 4.0))),
        right(static_cast<float>(std::sin((pan + 1.0) * std::numbers::pi / 4.0))) {}
  float left;
  float right;
};

}  // namespace zcd::demo_gen
