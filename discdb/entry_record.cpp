#include <array>

#include "discdb/disc_id.h"
#include "discdb/entry_parse.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;

using TrackValues = std::array<OptText, kMaxTracks>;

// The values of every "<prefix>%d=" key for 0..99, exactly as GetEntryValue
// would gather them one key at a time, in a single pass over the lines:
// reading a 100-track entry key by key would scan its text 200 times. A key
// counts only where it begins a line; one on the unterminated last line
// makes its whole value none.
TrackValues GatherTrackValues(std::string_view text, std::string_view prefix) {
  TrackValues values;
  std::array<bool, kMaxTracks> unterminated{};
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lf = text.find('\n', start);
    std::string_view line = text.substr(start, lf == kNpos ? kNpos : lf - start);
    start = lf == kNpos ? text.size() : lf + 1;
    if (!line.starts_with(prefix))
      continue;
    const std::size_t digits = prefix.size();
    std::size_t equals = digits;
    while (equals < line.size() && line[equals] >= '0' && line[equals] <= '9')
      ++equals;
    // Keys are spelt "%d": one or two digits, no leading zero, then "=".
    const std::size_t length = equals - digits;
    if (equals >= line.size() || line[equals] != '=' || length == 0 || length > 2 ||
        (length == 2 && line[digits] == '0'))
      continue;
    const int n =
        length == 1 ? line[digits] - '0' : (line[digits] - '0') * 10 + (line[digits + 1] - '0');
    if (lf == kNpos) {
      unterminated[n] = true;
      continue;
    }
    line.remove_prefix(equals + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (!values[n])
      values[n].emplace();
    values[n]->append(line);
  }
  for (int n = 0; n < kMaxTracks; ++n) {
    if (unterminated[n])
      values[n].reset();
  }
  return values;
}

// Puts category in place of the head line's second word.
void ReplaceHeadCategory(std::string& text, std::string_view category) {
  const std::string_view head = std::string_view(text).substr(0, text.find('\n'));
  const std::size_t first = head.find(' ');
  if (first == kNpos)
    return;
  const std::size_t second = head.find(' ', first + 1);
  if (second == kNpos)
    return;
  text.replace(first + 1, second - first - 1, category);
}

}  // namespace

bool ReadEntryIntoRecord(DiscRecord& record, std::string_view text, bool bound) {
  if (text.empty())
    return false;
  record.ClearDiscText();
  record.SetDiscTitle(GetEntryValue("DTITLE=", text));
  record.SetDiscExtended(GetEntryValue("EXTD=", text));
  record.SetCategory(HeadCategory(text, 1));
  DiscTiming timing = record.Timing();
  record.SetDiscIdText(DiscIdText(ComputeCddbDiscId(timing)));

  TrackValues titles = GatherTrackValues(text, "TTITLE");
  TrackValues extended = GatherTrackValues(text, "EXTT");
  int count = timing.track_count;
  if (!bound) {
    // The titles decide how many tracks a free-standing record has; the
    // first missing one ends them.
    count = 0;
    while (count < kMaxTracks && titles[count])
      ++count;
    timing.track_count = count;
    record.SetTiming(timing);
  }
  for (int n = 0; n < count; ++n) {
    record.SetTrackTitle(n, std::move(titles[n]));
    record.SetTrackExtended(n, std::move(extended[n]));
  }
  return true;
}

void WriteRecordIntoEntry(const DiscRecord& record, std::string& text) {
  if (text.empty())
    return;
  // An empty category would leave two blanks in a row and an unreadable head.
  if (const OptText category = record.Category(); category && !category->empty())
    ReplaceHeadCategory(text, *category);
  SetEntryValue("DTITLE=", record.DiscTitle(), text);
  SetEntryValue("EXTD=", record.DiscExtended(), text);
  const int count = record.TrackCount();
  for (int n = 0; n < count; ++n) {
    SetEntryValue(entry_parse::TrackKey("TTITLE", n), record.TrackTitle(n), text);
    SetEntryValue(entry_parse::TrackKey("EXTT", n), record.TrackExtended(n), text);
  }
}

}  // namespace zcd
