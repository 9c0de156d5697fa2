#include "tools/zcd_db/disc_timing_args.h"

#include <charconv>

namespace zcd::tool {
namespace {

// Frame addresses beyond this would overflow the minutes of a table row.
constexpr int32_t kMaxFrame = 100 * 60 * kFramesPerSecond;

std::optional<int32_t> Frame(const std::string& word) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < 0 || value > kMaxFrame)
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<DiscTiming> ParseDiscTiming(std::span<const std::string> words, std::string& error) {
  const int tracks = static_cast<int>(words.size()) - 1;
  if (tracks < 1 || tracks > kMaxTracks) {
    error = "the frame offset of every track (1 to 100) and of the lead-out are needed";
    return std::nullopt;
  }
  DiscTiming timing;
  timing.track_count = tracks;
  for (int i = 0; i <= tracks; ++i) {
    const std::string& word = words[static_cast<size_t>(i)];
    const std::optional<int32_t> frame = Frame(word);
    if (!frame) {
      error = "'" + word + "' is not a frame offset";
      return std::nullopt;
    }
    if (i > 0 && *frame <= timing.toc[i - 1].frame_address) {
      error = "frame offsets must rise, and the lead-out must follow the last track";
      return std::nullopt;
    }
    timing.toc[i] = TrackTocEntry::FromFrames(*frame);
  }
  timing.disc_seconds = timing.LeadOut().frame_address / kFramesPerSecond;
  for (int i = 0; i < tracks; ++i)
    timing.track_seconds[i] = timing.toc[i + 1].WholeSeconds() - timing.toc[i].WholeSeconds();
  return timing;
}

}  // namespace zcd::tool
