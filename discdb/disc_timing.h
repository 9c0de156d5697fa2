#pragma once

#include <array>
#include <cstdint>

namespace zcd {

// One frame is 1/75 second; absolute addresses include the 150-frame lead-in.
inline constexpr int kFramesPerSecond = 75;
inline constexpr int kMaxTracks = 100;
// One row per track plus the lead-out, so even a 100-track table keeps its lead-out.
inline constexpr int kTocRows = kMaxTracks + 1;

struct TrackTocEntry {
  int32_t minutes = 0;
  int32_t seconds = 0;
  int32_t frames = 0;
  int32_t frame_address = 0;

  static TrackTocEntry FromMsf(int32_t m, int32_t s, int32_t f) {
    return {m, s, f, (m * 60 + s) * kFramesPerSecond + f};
  }
  static TrackTocEntry FromFrames(int32_t address) {
    return {address / (60 * kFramesPerSecond), (address / kFramesPerSecond) % 60,
            address % kFramesPerSecond, address};
  }
  int32_t WholeSeconds() const { return minutes * 60 + seconds; }
  bool operator==(const TrackTocEntry&) const = default;
};

// The timing half of a disc record: filled from the drive or from an entry text.
struct DiscTiming {
  int32_t track_count = 0;
  std::array<TrackTocEntry, kTocRows> toc{};
  std::array<int32_t, kMaxTracks> track_seconds = MakeUnknownLengths();
  int32_t disc_seconds = 0;

  const TrackTocEntry& LeadOut() const { return toc[track_count]; }

  static constexpr std::array<int32_t, kMaxTracks> MakeUnknownLengths() {
    std::array<int32_t, kMaxTracks> lengths{};
    lengths.fill(-1);
    return lengths;
  }
};

}  // namespace zcd
