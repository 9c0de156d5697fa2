#include "tools/demo_disc_gen/reverb.h"

#include <array>
#include <vector>

namespace zcd::demo_gen {
namespace {

// Four delay lines feeding each other through a Hadamard matrix, each with a
// low-pass in its loop so that high notes die first. Lengths are prime so
// their echoes do not line up.
constexpr std::array<int, 4> kDelays{1553, 1867, 2207, 2539};
constexpr float kFeedback = 0.82f;
constexpr float kDamping = 0.35f;

}  // namespace

void AddReverb(StereoBuffer& buffer, float wet) {
  std::array<std::vector<float>, 4> lines;
  for (size_t k = 0; k < lines.size(); ++k)
    lines[k].assign(static_cast<size_t>(kDelays[k]), 0.0f);
  std::array<size_t, 4> pos{};
  std::array<float, 4> low{};
  for (int64_t n = 0; n < buffer.size(); ++n) {
    float& left = buffer.left[n];
    float& right = buffer.right[n];
    std::array<float, 4> d;
    for (size_t k = 0; k < 4; ++k) {
      low[k] += (1.0f - kDamping) * (lines[k][pos[k]] - low[k]);
      d[k] = low[k];
    }
    const float a = d[0] + d[1];
    const float b = d[0] - d[1];
    const float c = d[2] + d[3];
    const float e = d[2] - d[3];
    const std::array<float, 4> mixed{a + c, b + e, a - c, b - e};
    const float input = 0.5f * (left + right);
    for (size_t k = 0; k < 4; ++k) {
      lines[k][pos[k]] = input + mixed[k] * (0.5f * kFeedback);
      pos[k] = pos[k] + 1 == lines[k].size() ? 0 : pos[k] + 1;
    }
    left += wet * (d[0] + d[2]) * 0.5f;
    right += wet * (d[1] + d[3]) * 0.5f;
  }
}

}  // namespace zcd::demo_gen
