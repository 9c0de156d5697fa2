#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zcd::demo_gen {

// Peak and loudness every track is brought to: peaks never above -6 dBFS.
inline constexpr double kPeakCeiling = 0.5;
inline constexpr double kTargetRms = 0.1;

// Audio track `track` (from 0) as interleaved 16-bit stereo samples: its
// music, faded in and out, then the silence of the next track's pregap.
// Threading: tracks may be rendered on several threads at once.
std::vector<int16_t> RenderTrack(size_t track);

}  // namespace zcd::demo_gen
