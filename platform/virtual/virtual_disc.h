#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/image_layout.h"

namespace zcd {

// Absolute frame addresses include the 150-frame lead-in, as a drive reports them.
inline constexpr int32_t kLeadInFrames = 150;
// 99:59:74, the largest time an MSF position can hold.
inline constexpr int32_t kMaxDiscFrame = (99 * 60 + 59) * 75 + 74;

struct VirtualTrack {
  int32_t start_frame = 0;
  bool audio = true;
  bool operator==(const VirtualTrack&) const = default;
};

// A disc as the virtual drive presents it. Built from a cue sheet or in code;
// tracks are in ascending order of start, each before the lead-out.
struct VirtualDisc {
  std::string title;  // for diagnostics only
  std::vector<VirtualTrack> tracks;
  int32_t lead_out_frame = 0;
  // Where the disc's sound is; empty for a disc described by its times alone,
  // which plays silently.
  ImageLayout audio;
  bool operator==(const VirtualDisc&) const = default;
};

// A disc of audio tracks with the given lengths in seconds, the first one
// starting right after the lead-in.
VirtualDisc MakeAudioDisc(const std::vector<int>& track_seconds);

}  // namespace zcd
