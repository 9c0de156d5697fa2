#include <limits>

#include "discdb/disc_id.h"
#include "discdb/entry_parse.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr int32_t kFramesPerMinute = 60 * kFramesPerSecond;

// Walks a text line by line; each line is handed out without its LF.
class LineWalk {
 public:
  explicit LineWalk(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (at_ >= text_.size())
      return false;
    const std::size_t lf = text_.find('\n', at_);
    const std::size_t end = lf == kNpos ? text_.size() : lf;
    line = text_.substr(at_, end - at_);
    at_ = lf == kNpos ? text_.size() : lf + 1;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

TrackTocEntry RowFromFrames(int32_t f) {
  return {f / kFramesPerMinute, (f % kFramesPerMinute) / kFramesPerSecond, f % kFramesPerSecond, f};
}

// The timing written in an entry's comment block; none when the block has no
// frame offsets.
std::optional<DiscTiming> ParseEntryTiming(std::string_view text) {
  LineWalk walk(text);
  std::string_view line;
  if (!walk.Next(line))
    return std::nullopt;
  bool found = false;
  while (!found && walk.Next(line)) {
    if (!line.starts_with('#'))
      return std::nullopt;
    found = line.find("# Track frame offsets:") != kNpos;
  }
  if (!found)
    return std::nullopt;

  DiscTiming timing;
  int n = 0;
  // Rows past the hundredth would not fit the table; a real disc has 99 at most.
  while (n < kMaxTracks && walk.Next(line)) {
    const int32_t f = line.empty() ? 0 : entry_parse::ParseDecimal(line.substr(1));
    if (f == 0)
      break;
    timing.toc[n++] = RowFromFrames(f);
  }
  // Kept small enough that the lead-out address d * 75 fits 32 bits.
  constexpr int32_t kMaxSeconds = std::numeric_limits<int32_t>::max() / kFramesPerSecond;
  int32_t d = EntryDiscSeconds(text);
  if (d > kMaxSeconds)
    d = kMaxSeconds;
  if (d < -kMaxSeconds)
    d = -kMaxSeconds;
  const int32_t lead_out = d * kFramesPerSecond;
  timing.toc[n] = {lead_out / kFramesPerMinute, (lead_out % kFramesPerMinute) / kFramesPerSecond, 0,
                   lead_out};
  timing.track_count = n;
  timing.disc_seconds = d;
  for (int i = 0; i < n; ++i) {
    timing.track_seconds[i] = (timing.toc[i + 1].minutes - timing.toc[i].minutes) * 60 +
                              timing.toc[i + 1].seconds - timing.toc[i].seconds;
  }
  return timing;
}

}  // namespace

bool ReadTocFromEntry(DiscRecord& record, std::string_view text) {
  if (text.empty())
    return false;
  if (const std::optional<DiscTiming> timing = ParseEntryTiming(text))
    record.SetTiming(*timing);
  return true;
}

std::optional<std::string> EntryCdPlayerIniKey(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  // A free-standing record starts from an empty timing; the disc length is
  // taken from the comment even when no frame offsets were found.
  const std::optional<DiscTiming> parsed = ParseEntryTiming(text);
  if (parsed)
    return CdPlayerIniKey(*parsed);
  DiscTiming timing;
  timing.disc_seconds = EntryDiscSeconds(text);
  return CdPlayerIniKey(timing);
}

}  // namespace zcd
