#include <charconv>
#include <cstdio>
#include <string>

#include "discdb/disc_id.h"
#include "tools/zcd_db/commands.h"

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

int RunDiscId(const ToolContext& /*context*/, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db"}))
    return Report("discid does not take " + *bad, kExitUsage);
  const int tracks = static_cast<int>(args.words.size()) - 2;
  if (tracks < 1 || tracks > kMaxTracks)
    return Report("discid needs the frame offset of every track (1 to 100) and the lead-out",
                  kExitUsage);
  DiscTiming timing;
  timing.track_count = tracks;
  for (int i = 0; i <= tracks; ++i) {
    const std::string& word = args.words[static_cast<size_t>(i) + 1];
    const std::optional<int32_t> frame = Frame(word);
    if (!frame)
      return Report("'" + word + "' is not a frame offset", kExitUsage);
    if (i > 0 && *frame <= timing.toc[i - 1].frame_address)
      return Report("frame offsets must rise, and the lead-out must follow the last track",
                    kExitUsage);
    timing.toc[i] = TrackTocEntry::FromFrames(*frame);
  }
  timing.disc_seconds = timing.LeadOut().frame_address / kFramesPerSecond;
  for (int i = 0; i < tracks; ++i)
    timing.track_seconds[i] = timing.toc[i + 1].WholeSeconds() - timing.toc[i].WholeSeconds();
  std::printf("CDDB disc id: %s\ncdplayer.ini key: %s\n",
              DiscIdText(ComputeCddbDiscId(timing)).c_str(), CdPlayerIniKey(timing).c_str());
  return kExitOk;
}

}  // namespace zcd::tool
